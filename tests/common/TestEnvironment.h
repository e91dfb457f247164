#pragma once

#include <QString>

// Every test process runs with its own empty settings folder and the Japanese locale, so
// that no result depends on the machine or on another test.
namespace TestEnvironment {

// Points XDG_CONFIG_HOME, XDG_RUNTIME_DIR, XDG_DATA_HOME (where an installed program keeps
// its catalogs) and XDG_STATE_HOME (journals of read-only program folders) at a fresh
// temporary folder (removed at exit), pins the default
// locale to ja_JP and the time zone to Asia/Tokyo. Call first thing in main.
void Pin();

// The settings folder Pin made.
QString ConfigHome();

}  // namespace TestEnvironment
