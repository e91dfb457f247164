#include "support/ui/WindowPlacement.h"

#include "support/core/Beep.h"
#include "support/core/RegistryLayout.h"
#include "support/core/WinReg.h"
#include "tests/common/ClearRegistry.h"
#include "tests/common/FileBytes.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/ShowWindow.h"

#include <QDir>
#include <QFileInfo>

#include <array>

namespace {

const std::string kSubKey = "Catalog";
const std::string kSubKeyPath = std::string("\\") + SettingsKey + "\\" + kSubKey;

std::array<int, 10> StoredValues()
{
    std::array<int, 10> values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = RegReadInteger(kSubKey, RegPlacementNames[i], -999);
    return values;
}

void Store(const char* name, int value)
{
    RegWriteInteger(kSubKey, name, value);
}

// Places the window and shows it; false when it never became visible.
[[nodiscard]] bool ShowAt(QWidget& window, const QRect& geometry)
{
    window.setGeometry(geometry);
    return Shown(window);
}

}  // namespace

class TestWindowPlacement : public QObject {
    Q_OBJECT

private slots:
    void init() { ClearRegistry(); }

    void savesTheTenValuesOfANormalWindow();
    void aMaximisedWindowComesBackMaximisedOverItsNormalRectangle();
    void aMinimisedWindowKeepsWhereItRestoresTo();
    void nothingStoredLeavesTheWindowAlone();
    void appliesTheValuesThatArePresent();
    void aWrongTypeThrowsAndTheWindowKeepsItsPlacement();
    void aFailedWriteBeepsAndTheOthersAreStillTried();
};

void TestWindowPlacement::savesTheTenValuesOfANormalWindow()
{
    QWidget window;
    QVERIFY(ShowAt(window, QRect(100, 80, 400, 300)));
    SaveWindowPlacement(&window, kSubKey);
    const std::array<int, 10> expected{0, SW_SHOWNORMAL, -1, -1, -1, -1, 100, 80, 500, 380};
    QCOMPARE(StoredValues(), expected);
}

void TestWindowPlacement::aMaximisedWindowComesBackMaximisedOverItsNormalRectangle()
{
    {
        QWidget window;
        window.setGeometry(120, 90, 300, 200);
        window.show();
        window.showMaximized();
        QTRY_VERIFY(window.isMaximized());
        SaveWindowPlacement(&window, kSubKey);
    }
    QCOMPARE(RegReadInteger(kSubKey, RegPlaceShowCmd, 0), SW_SHOWMAXIMIZED);
    QCOMPARE(RegReadInteger(kSubKey, RegPlaceNormalPosRight, 0), 420);

    QWidget window;
    QVERIFY(ShowAt(window, QRect(10, 10, 100, 100)));
    LoadWindowPlacement(&window, kSubKey);
    QTRY_VERIFY(window.isMaximized());
    QCOMPARE(window.normalGeometry(), QRect(120, 90, 300, 200));

    window.showNormal();
    QTRY_COMPARE(window.geometry(), QRect(120, 90, 300, 200));
}

void TestWindowPlacement::aMinimisedWindowKeepsWhereItRestoresTo()
{
    QWidget window;
    window.setGeometry(50, 60, 300, 200);
    window.setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
    const WindowPlacement placement = GetWindowPlacement(&window);
    QCOMPARE(placement.showCmd, SW_SHOWMINIMIZED);
    QCOMPARE(placement.flags, WPF_RESTORETOMAXIMIZED);
    QCOMPARE(placement.normalLeft, 50);
    QCOMPARE(placement.normalBottom, 260);

    QWidget other;
    SetWindowPlacement(&other, placement);
    QCOMPARE(other.windowState(), Qt::WindowMaximized | Qt::WindowMinimized);
    QCOMPARE(GetWindowPlacement(&other), placement);
}

void TestWindowPlacement::nothingStoredLeavesTheWindowAlone()
{
    QWidget window;
    QVERIFY(ShowAt(window, QRect(70, 40, 320, 240)));
    LoadWindowPlacement(&window, kSubKey);
    QCOMPARE(window.geometry(), QRect(70, 40, 320, 240));
    QVERIFY(!window.isMaximized());

    TRegistry registry;
    QVERIFY(registry.KeyExists(std::string("\\") + SettingsKey));
    QVERIFY(!registry.KeyExists(kSubKeyPath));
}

void TestWindowPlacement::appliesTheValuesThatArePresent()
{
    Store(RegPlaceNormalPosLeft, 200);
    Store(RegPlaceNormalPosRight, 700);
    QWidget window;
    window.setGeometry(100, 50, 300, 200);
    LoadWindowPlacement(&window, kSubKey);
    QCOMPARE(window.geometry(), QRect(200, 50, 500, 200));

    // The positions that mean nothing here are saved back as they were loaded.
    Store(RegPlaceMaxPosX, -4);
    Store(RegPlaceMaxPosY, -4);
    LoadWindowPlacement(&window, kSubKey);
    ClearRegistry();
    SaveWindowPlacement(&window, kSubKey);
    QCOMPARE(RegReadInteger(kSubKey, RegPlaceMaxPosX, 0), -4);
    QCOMPARE(RegReadInteger(kSubKey, RegPlaceMinPosX, 0), -1);
}

void TestWindowPlacement::aWrongTypeThrowsAndTheWindowKeepsItsPlacement()
{
    Store(RegPlaceNormalPosLeft, 300);
    {
        TRegistry registry;
        QVERIFY(registry.OpenKey(kSubKeyPath, true));
        registry.WriteString(RegPlaceNormalPosBottom, "tall");
    }
    QWidget window;
    window.setGeometry(100, 50, 300, 200);
    QVERIFY_THROWS_EXCEPTION(ERegistryException, LoadWindowPlacement(&window, kSubKey));
    QCOMPARE(window.geometry(), QRect(100, 50, 300, 200));
}

void TestWindowPlacement::aFailedWriteBeepsAndTheOthersAreStillTried()
{
    int beeps = 0;
    const ScopedBeepHandler beep([&] { ++beeps; });
    const ScopedRegistryProblemHandler problems([](const std::string&) {});
    const QString path = QString::fromStdString(RegistryFilePath());
    QDir().mkpath(QFileInfo(path).path());
    WriteFile(path, "this is not a registry file\r\n");

    QWidget window;
    window.setGeometry(100, 50, 300, 200);
    SaveWindowPlacement(&window, kSubKey);
    QCOMPARE(beeps, 10);
}

TESSNA_QTEST_MAIN(TestWindowPlacement)
#include "WindowPlacement_test.moc"
