#pragma once

#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QTest>

// QTEST_MAIN with the pinned test environment set up before the application exists.
#define TESSNA_QTEST_MAIN(TestClass)                   \
    int main(int argc, char** argv)                    \
    {                                                  \
        TestEnvironment::Pin();                        \
        QApplication app(argc, argv);                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);       \
        TestClass test;                                \
        QTEST_SET_MAIN_SOURCE_PATH                     \
        return QTest::qExec(&test, argc, argv);        \
    }
