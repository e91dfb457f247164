#include "support/core/WinReg.h"

#include "support/core/Beep.h"
#include "support/core/Cp932.h"
#include "support/core/HostPath.h"
#include "support/core/RegistryStore.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <iostream>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <utility>

namespace {

RegistryProblemHandler& ProblemHandler()
{
    static RegistryProblemHandler handler;
    return handler;
}

void ReportProblem(const std::string& message)
{
    if (ProblemHandler())
        ProblemHandler()(message);
    else
        std::cerr << Cp932ToDisplay(message).toStdString() << '\n';
}

std::string ShownHostPath(const std::string& hostPath)
{
    return FromHostPath(hostPath).value_or(hostPath);
}

void ReportUnreadableFile(const std::string& hostPath)
{
    static std::mutex mutex;
    static std::set<std::string> reported;
    {
        const std::lock_guard guard(mutex);
        if (!reported.insert(hostPath).second)
            return;
    }
    ReportProblem(Cp932Text("設定ファイル ") + ShownHostPath(hostPath)
                  + Cp932Text(" は読み取れない内容のため、設定を保存しませんでした。"
                              "ファイルはそのまま残してあります"));
}

// The settings whose writes failed since the last report, by why they failed: the first
// line of the report, then the names (key and value), each once.
struct UnsavedSettings {
    std::mutex mutex;
    std::map<std::string, std::set<std::string>> namesByCause;
};

UnsavedSettings& Unsaved()
{
    static UnsavedSettings unsaved;
    return unsaved;
}

// The nearest folder above the settings file, or the file's place, that exists and is no
// folder: what keeps the settings folder from being made.
std::optional<QString> ObstacleOf(const QString& path)
{
    for (QFileInfo info(QFileInfo(path).absolutePath()); !info.isRoot(); info.setFile(info.absolutePath())) {
        if (info.exists() && !info.isDir())
            return info.absoluteFilePath();
    }
    return std::nullopt;
}

std::string CauseText(RegistryStore::ChangeResult result, const std::string& hostPath)
{
    using Result = RegistryStore::ChangeResult;
    if (result == Result::Busy)
        return Cp932Text("設定ファイル ") + ShownHostPath(hostPath)
            + Cp932Text(" をほかのプログラムがロックしたままのため、次の設定を保存できませんでした。");
    if (result == Result::NoFolder) {
        const QString file = QFile::decodeName(QByteArray::fromStdString(hostPath));
        if (const auto obstacle = ObstacleOf(file))
            return Cp932Text("フォルダであるべき ") + Cp932ForMessage(*obstacle)
                + Cp932Text(" がファイルのため、設定ファイルを作れず、次の設定を保存できませんでした。");
        return Cp932Text("設定ファイルのフォルダ ") + Cp932ForMessage(QFileInfo(file).absolutePath())
            + Cp932Text(" を作れないため、次の設定を保存できませんでした。");
    }
    return Cp932Text("設定ファイル ") + ShownHostPath(hostPath)
        + Cp932Text(" に書き込めないため、次の設定を保存できませんでした。");
}

void RememberUnsaved(RegistryStore::ChangeResult result, const std::string& hostPath,
                     const std::string& keyPath, const std::string& name)
{
    const std::size_t lastKey = keyPath.rfind('\\');
    const std::string shownName
        = (lastKey == std::string::npos ? keyPath : keyPath.substr(lastKey + 1)) + "\\" + name;
    UnsavedSettings& unsaved = Unsaved();
    const std::lock_guard guard(unsaved.mutex);
    unsaved.namesByCause[CauseText(result, hostPath)].insert(shownName);
}

std::string ValueMessage(const std::string& name, const char* utf8Text)
{
    return "'" + name + "'" + Cp932Text(utf8Text);
}

[[noreturn]] void ThrowWrongType(const std::string& name)
{
    throw ERegistryException(ValueMessage(name, " のデータ型が不正です"));
}

[[noreturn]] void ThrowReadFailed(const std::string& name)
{
    throw ERegistryException(ValueMessage(name, " の取得に失敗しました"));
}

// The key path a relative path names below another one.
std::string JoinKey(const std::string& base, const std::string& relative)
{
    if (base.empty())
        return relative;
    if (relative.empty())
        return base;
    return base + "\\" + relative;
}

}  // namespace

std::string RegistryFilePath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return QFile::encodeName(config + QStringLiteral("/Kavo/HKEY_CURRENT_USER.reg")).toStdString();
}

RegistryProblemHandler SetRegistryProblemHandler(RegistryProblemHandler handler)
{
    return std::exchange(ProblemHandler(), std::move(handler));
}

void ReportUnsavedSettings()
{
    std::map<std::string, std::set<std::string>> namesByCause;
    {
        UnsavedSettings& unsaved = Unsaved();
        const std::lock_guard guard(unsaved.mutex);
        namesByCause.swap(unsaved.namesByCause);
    }
    if (namesByCause.empty())
        return;
    std::string message;
    for (const auto& [cause, names] : namesByCause) {
        if (!message.empty())
            message += '\n';
        message += cause;
        for (const std::string& name : names)
            message += "\n  " + name;
    }
    ReportProblem(message);
}

// ---- TRegistry -----------------------------------------------------------------------------

TRegistry::TRegistry() = default;
TRegistry::~TRegistry() = default;

RegistryStore& TRegistry::Store()
{
    if (!store_)
        store_ = std::make_unique<RegistryStore>(RegistryFilePath());
    return *store_;
}

std::string TRegistry::ResolveKey(const std::string& key) const
{
    if (!key.empty() && key.front() == '\\')
        return key.substr(1);
    return JoinKey(open_ ? currentPath_ : std::string(), key);
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate)
{
    const std::string path = ResolveKey(key);
    if (!Store().Snapshot().KeyExists(path)) {
        if (!canCreate)
            return false;
        const auto result
            = Store().Change([&](RegistryFile& file) { return file.CreateKey(path); });
        if (!RegistryStore::Succeeded(result))
            return false;
    }
    currentPath_ = path;
    open_ = true;
    return true;
}

void TRegistry::CloseKey()
{
    currentPath_.clear();
    open_ = false;
}

bool TRegistry::KeyExists(const std::string& key)
{
    return Store().Snapshot().KeyExists(ResolveKey(key));
}

bool TRegistry::ValueExists(const std::string& name)
{
    return open_ && Store().Snapshot().FindValue(currentPath_, name) != nullptr;
}

std::string TRegistry::ReadString(const std::string& name)
{
    const RegistryValue* value = open_ ? Store().Snapshot().FindValue(currentPath_, name) : nullptr;
    if (!value || value->data.empty())
        return {};
    if (value->type != REG_SZ && value->type != REG_EXPAND_SZ)
        ThrowWrongType(name);
    return value->data.substr(0, value->data.find('\0'));
}

std::int32_t TRegistry::ReadInteger(const std::string& name)
{
    const RegistryValue* value = open_ ? Store().Snapshot().FindValue(currentPath_, name) : nullptr;
    if (!value || value->data.size() > 4)
        ThrowReadFailed(name);
    if (value->type != REG_DWORD)
        ThrowWrongType(name);
    std::uint32_t bits = 0;
    for (size_t i = value->data.size(); i-- > 0;)
        bits = bits << 8 | static_cast<unsigned char>(value->data[i]);
    return static_cast<std::int32_t>(bits);
}

bool TRegistry::ReadBool(const std::string& name)
{
    return ReadInteger(name) != 0;
}

void TRegistry::WriteString(const std::string& name, const std::string& value)
{
    WriteOpenKeyValue(name, RegistryValue::String(value));
}

void TRegistry::WriteInteger(const std::string& name, std::int32_t value)
{
    WriteOpenKeyValue(name, RegistryValue::Dword(value));
}

void TRegistry::WriteOpenKeyValue(const std::string& name, const RegistryValue& value)
{
    if (!open_) {
        MessageBeep();
        return;
    }
    WriteValue(currentPath_, name, value);
}

void TRegistry::WriteValue(
    const std::string& keyPath, const std::string& name, const RegistryValue& value)
{
    // A name with a line break has no form in the file.
    if (name.find_first_of("\r\n") != std::string::npos) {
        MessageBeep();
        return;
    }
    const auto result
        = Store().Change([&](RegistryFile& file) { return file.SetValue(keyPath, name, value); });
    if (result == RegistryStore::ChangeResult::Unreadable)
        ReportUnreadableFile(Store().HostPath());
    else if (!RegistryStore::Succeeded(result))
        RememberUnsaved(result, Store().HostPath(), keyPath, name);
    if (!RegistryStore::Succeeded(result))
        MessageBeep();
}

std::string TRegistry::CurrentPath() const
{
    return currentPath_;
}

std::string TRegistry::SwapCurrentPath(std::string path)
{
    return std::exchange(currentPath_, std::move(path));
}

// ---- TWinRegistry --------------------------------------------------------------------------

TWinRegistry::TWinRegistry(std::string key, bool canCreate)
    : key_(std::move(key))
{
    OpenKey(key_, canCreate && !key_.empty());
}

template <typename T, typename Read>
T TWinRegistry::ReadSubKeyValue(
    const std::string& subKey, const std::string& name, T def, Read read)
{
    if (!HasCurrentKey())
        return def;
    const std::string path = ResolveKey(subKey);
    if (!Store().Snapshot().KeyExists(path))
        return def;
    // The subkey is the current key for this one access, also when the read throws.
    struct Restore {
        TWinRegistry& registry;
        std::string previous;
        ~Restore() { registry.SwapCurrentPath(std::move(previous)); }
    } const restore { *this, SwapCurrentPath(path) };
    return ValueExists(name) ? read(name) : def;
}

std::string TWinRegistry::ReadSubKeyString(
    const std::string& subKey, const std::string& name, const std::string& def)
{
    return ReadSubKeyValue(
        subKey, name, def, [this](const std::string& n) { return ReadString(n); });
}

std::int32_t TWinRegistry::ReadSubKeyInteger(
    const std::string& subKey, const std::string& name, std::int32_t def)
{
    return ReadSubKeyValue(
        subKey, name, def, [this](const std::string& n) { return ReadInteger(n); });
}

bool TWinRegistry::ReadSubKeyBool(const std::string& subKey, const std::string& name, bool def)
{
    return ReadSubKeyValue(subKey, name, def, [this](const std::string& n) { return ReadBool(n); });
}

void TWinRegistry::WriteSubKeyInteger(
    const std::string& subKey, const std::string& name, std::int32_t value)
{
    // When the accessor's own key could not be opened, the write creates it along with the
    // subkey (or reports why it cannot).
    const std::string path
        = HasCurrentKey() ? ResolveKey(subKey) : JoinKey(ResolveKey(key_), subKey);
    WriteValue(path, name, RegistryValue::Dword(value));
}

std::unique_ptr<TWinRegistry> CreateWinRegistry(const std::string& key, bool canCreate)
{
    return std::make_unique<TWinRegistry>(key, canCreate);
}

std::int32_t RegReadInteger(const std::string& subKey, const std::string& name, std::int32_t def)
{
    return CreateWinRegistry(SettingsKey, true)->ReadSubKeyInteger(subKey, name, def);
}

void RegWriteInteger(const std::string& subKey, const std::string& name, std::int32_t value)
{
    CreateWinRegistry(SettingsKey, true)->WriteSubKeyInteger(subKey, name, value);
}

bool RegReadBool(const std::string& subKey, const std::string& name, bool def)
{
    return CreateWinRegistry(SettingsKey, true)->ReadSubKeyBool(subKey, name, def);
}
