#include "app/SingleInstance.h"

#include "app/WindowTitlePattern.h"
#include "support/core/BuildInfo.h"
#include "support/core/Cp932.h"
#include "support/core/FileLock.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr char kInstanceName[] = "TessnaPrevInst";
constexpr char kTitlesRequest[] = "TITLES";
constexpr char kActivateRequest[] = "ACTIVATE ";
constexpr char kDoneReply[] = "DONE";
constexpr int kReplyTimeoutMs = 2000;
constexpr std::chrono::milliseconds kLastAnswer{250};

// The windows a later instance may find, in a fixed order: the visible top-level windows.
std::vector<QWidget*> CandidateWindows()
{
    std::vector<QWidget*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isWindow() && widget->isVisible() && !widget->windowTitle().isEmpty())
            windows.push_back(widget);
    }
    return windows;
}

void BringToFront(QWidget* window)
{
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

std::string TitleBytes(const QString& title)
{
    if (auto bytes = QStringToCp932(title))
        return *bytes;
    return title.toStdString();
}

// Every wait of a search ends at the deadline of the whole search, however the first
// instance behaves (busy, or accepting and never answering).
int WaitMs(const QDeadlineTimer& deadline)
{
    return static_cast<int>(std::min<qint64>(kReplyTimeoutMs, deadline.remainingTime()));
}

std::optional<QByteArray> ReadLine(QLocalSocket& socket, const QDeadlineTimer& deadline)
{
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(WaitMs(deadline)))
            return std::nullopt;
    }
    return socket.readLine().chopped(1);
}

// Asks the first instance for its window titles; nothing when it does not answer.
std::optional<std::vector<QByteArray>> RequestTitles(QLocalSocket& socket, const QDeadlineTimer& deadline)
{
    socket.write(QByteArray(kTitlesRequest) + '\n');
    std::vector<QByteArray> titles;
    for (;;) {
        auto line = ReadLine(socket, deadline);
        if (!line)
            return std::nullopt;
        if (line->isEmpty())
            return titles;
        titles.push_back(*line);
    }
}

bool RequestActivation(QLocalSocket& socket, std::size_t index, const QDeadlineTimer& deadline)
{
    socket.write(kActivateRequest + QByteArray::number(qulonglong(index)) + '\n');
    const auto reply = ReadLine(socket, deadline);
    return reply && *reply == kDoneReply;
}

// One search: true when a matching window was found and the first instance was asked to
// bring its main window to the front.
bool SearchOnce(const QString& socketPath, const WindowTitlePattern& pattern, const QDeadlineTimer& deadline)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(WaitMs(deadline)))
        return false;
    const auto titles = RequestTitles(socket, deadline);
    if (!titles)
        return false;
    for (std::size_t i = 0; i < titles->size(); ++i) {
        if (pattern.Matches(TitleBytes(QString::fromUtf8((*titles)[i]))))
            return RequestActivation(socket, i, deadline);
    }
    return false;
}

}  // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent)
    , socketPath_(QDir(folder).filePath(QString::fromLatin1(kInstanceName) + QStringLiteral(".socket")))
    , lockPath_(QDir(folder).filePath(QString::fromLatin1(kInstanceName)))
{
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection())
            AnswerClient(socket);
    });
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::RuntimeFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

bool SingleInstance::Claim()
{
    auto lock = std::make_unique<FileLock>(QFile::encodeName(lockPath_).toStdString(),
                                           std::chrono::milliseconds(0));
    if (lock->IsBusy())
        return false;
    lock_ = std::move(lock);
    // A socket file left by a crashed first instance would make listening fail.
    QLocalServer::removeServer(socketPath_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(socketPath_);
    return true;
}

bool SingleInstance::ActivateRunningInstance(const Polling& polling) const
{
    // The main window's caption: the title and a blank, then anything.
    const WindowTitlePattern pattern(std::string(ApplicationTitle) + " *");
    // Search k starts k intervals after the first, so a slow answer does not push the
    // later searches back; the whole search ends with the pauses between the searches,
    // and a moment for the last answer.
    QElapsedTimer clock;
    clock.start();
    const QDeadlineTimer deadline(polling.interval * (polling.searches - 1) + kLastAnswer);
    for (int search = 0; search < polling.searches && !deadline.hasExpired(); ++search) {
        if (search > 0) {
            const qint64 due = polling.interval.count() * search;
            QThread::msleep(static_cast<unsigned long>(std::max<qint64>(0, due - clock.elapsed())));
            QCoreApplication::processEvents();
        }
        if (SearchOnce(socketPath_, pattern, deadline))
            return true;
    }
    return false;
}

void SingleInstance::AnswerClient(QLocalSocket* socket)
{
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
        while (socket->canReadLine()) {
            const QByteArray request = socket->readLine().chopped(1);
            const std::vector<QWidget*> windows = CandidateWindows();
            if (request == kTitlesRequest) {
                QByteArray reply;
                for (QWidget* window : windows)
                    reply += window->windowTitle().toUtf8().replace('\n', ' ') + '\n';
                socket->write(reply + '\n');
            } else if (request.startsWith(kActivateRequest)) {
                const auto index = request.mid(int(sizeof kActivateRequest) - 1).toULongLong();
                // Whichever window the later instance found (the help viewer's title
                // matches too), the program comes forward with its main window.
                if (mainWindow_)
                    BringToFront(mainWindow_);
                else if (index < windows.size())
                    BringToFront(windows[index]);
                socket->write(QByteArray(kDoneReply) + '\n');
            }
        }
    });
}

bool ActivatePreviousInstance(SingleInstance& instance, const SingleInstance::Polling& polling,
                              const std::function<void()>& notFound)
{
    if (instance.Claim())
        return false;
    if (!instance.ActivateRunningInstance(polling) && notFound)
        notFound();
    return true;
}

QString NoRunningWindowMessage()
{
    return QStringLiteral("Tessna はすでに実行中ですが、そのウィンドウが見つかりません。"
                          "実行中の Tessna を終了してから、もう一度起動してください。");
}
