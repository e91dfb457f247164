#pragma once

#include <QString>

// A caption as a person says it, for screen readers: without its access key, so that
// "削除(&D)" reads "削除" and "&OK" reads "OK" ("&&" stays one "&").
QString SpokenCaption(const QString& caption);
