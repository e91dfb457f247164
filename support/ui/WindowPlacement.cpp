#include "support/ui/WindowPlacement.h"

#include "support/core/RegistryLayout.h"
#include "support/core/WinReg.h"

#include <QVariant>
#include <QWidget>

#include <array>

namespace {

// The record's fields in the order of RegPlacementNames.
constexpr std::array<int WindowPlacement::*, 10> kFields = {
    &WindowPlacement::flags,        &WindowPlacement::showCmd,
    &WindowPlacement::minPositionX, &WindowPlacement::minPositionY,
    &WindowPlacement::maxPositionX, &WindowPlacement::maxPositionY,
    &WindowPlacement::normalLeft,   &WindowPlacement::normalTop,
    &WindowPlacement::normalRight,  &WindowPlacement::normalBottom,
};

constexpr char kMinPosition[] = "tessnaMinPosition";
constexpr char kMaxPosition[] = "tessnaMaxPosition";

QPoint KeptPosition(const QWidget* window, const char* name)
{
    const QVariant kept = window->property(name);
    return kept.isValid() ? kept.toPoint() : QPoint(-1, -1);
}

QRect NormalRect(const QWidget* window)
{
    const bool away = window->windowState()
                      & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
    const QRect normal = window->normalGeometry();
    return away && normal.isValid() ? normal : window->geometry();
}

Qt::WindowStates StateFor(const WindowPlacement& placement)
{
    switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case 6:  // SW_MINIMIZE
    case 7:  // SW_SHOWMINNOACTIVE
        return placement.flags & WPF_RESTORETOMAXIMIZED
                   ? Qt::WindowMinimized | Qt::WindowMaximized
                   : Qt::WindowMinimized;
    case SW_SHOWMAXIMIZED:
        return Qt::WindowMaximized;
    default:
        return Qt::WindowNoState;
    }
}

}  // namespace

WindowPlacement GetWindowPlacement(const QWidget* window)
{
    const Qt::WindowStates state = window->windowState();
    WindowPlacement placement;
    if (state & Qt::WindowMinimized) {
        placement.showCmd = SW_SHOWMINIMIZED;
        if (state & (Qt::WindowMaximized | Qt::WindowFullScreen))
            placement.flags = WPF_RESTORETOMAXIMIZED;
    } else if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        placement.showCmd = SW_SHOWMAXIMIZED;
    }
    const QPoint minPosition = KeptPosition(window, kMinPosition);
    const QPoint maxPosition = KeptPosition(window, kMaxPosition);
    placement.minPositionX = minPosition.x();
    placement.minPositionY = minPosition.y();
    placement.maxPositionX = maxPosition.x();
    placement.maxPositionY = maxPosition.y();
    const QRect normal = NormalRect(window);
    placement.normalLeft = normal.x();
    placement.normalTop = normal.y();
    placement.normalRight = normal.x() + normal.width();
    placement.normalBottom = normal.y() + normal.height();
    return placement;
}

void SetWindowPlacement(QWidget* window, const WindowPlacement& placement)
{
    window->setProperty(kMinPosition, QPoint(placement.minPositionX, placement.minPositionY));
    window->setProperty(kMaxPosition, QPoint(placement.maxPositionX, placement.maxPositionY));
    // The normal rectangle can only be set on a window in the normal state.
    window->setWindowState(Qt::WindowNoState);
    window->setGeometry(placement.normalLeft, placement.normalTop,
                        placement.normalRight - placement.normalLeft,
                        placement.normalBottom - placement.normalTop);
    window->setWindowState(StateFor(placement));
}

void LoadWindowPlacement(QWidget* form, const std::string& subKey)
{
    const WindowPlacement current = GetWindowPlacement(form);
    WindowPlacement placement = current;
    {
        const std::unique_ptr<TWinRegistry> registry = CreateWinRegistry(SettingsKey, true);
        for (std::size_t i = 0; i < kFields.size(); ++i) {
            int& field = placement.*kFields[i];
            field = registry->ReadSubKeyInteger(subKey, RegPlacementNames[i], field);
        }
    }
    // Nothing stored leaves the window where the window system put it.
    if (placement != current)
        SetWindowPlacement(form, placement);
}

void SaveWindowPlacement(QWidget* form, const std::string& subKey)
{
    const WindowPlacement placement = GetWindowPlacement(form);
    const std::unique_ptr<TWinRegistry> registry = CreateWinRegistry(SettingsKey, true);
    for (std::size_t i = 0; i < kFields.size(); ++i)
        registry->WriteSubKeyInteger(subKey, RegPlacementNames[i], placement.*kFields[i]);
}
