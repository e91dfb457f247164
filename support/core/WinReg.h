#pragma once

#include "support/core/RegistryFile.h"
#include "support/core/RegistryLayout.h"
#include "support/core/ScopedHandler.h"
#include "support/core/TessnaError.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// The settings store: the current user's registry, kept in the registry file of
// RegistryFilePath (REGEDIT4 text, code page 932, CR LF). Nothing is cached between
// accessors: each one reads the file when it is first asked, and every write replaces the
// file atomically under a lock, re-reading it first, so that concurrent writers of other
// processes keep each other's values.

// A value read with the wrong type, or a value that cannot be read. Message: CP932.
class ERegistryException : public TessnaError {
public:
    using TessnaError::TessnaError;
};

// $XDG_CONFIG_HOME/Kavo/HKEY_CURRENT_USER.reg (XDG_CONFIG_HOME defaults to ~/.config), as
// host bytes. Looked up at every use.
std::string RegistryFilePath();

// Called with a CP932 message when a write is refused because the registry file cannot be
// parsed (once per process and file; every failed write beeps). The default prints the
// message on standard error; the user interface shows it in a box. Empty: the default.
// Returns the handler it replaces.
using RegistryProblemHandler = std::function<void(const std::string& message)>;
RegistryProblemHandler SetRegistryProblemHandler(RegistryProblemHandler handler);

// Tells through the registry problem handler, in one message, every setting whose write
// failed since the last report and why (the settings file locked by another process, its
// folder that cannot be made, a failed write). Nothing when none failed. The program calls it
// when its window has closed and written its settings.
void ReportUnsavedSettings();

// Replaces the registry problem handler for the lifetime of the object.
using ScopedRegistryProblemHandler =
    ScopedHandler<RegistryProblemHandler, &SetRegistryProblemHandler>;

class RegistryStore;

// The general accessor on HKEY_CURRENT_USER. Key paths use "\"; a path starting with "\"
// is taken from the root, any other from the open key (or the root when none is open).
class TRegistry {
public:
    TRegistry();
    virtual ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // Opens key; with canCreate a missing key is created. False when it is missing or
    // cannot be created.
    bool OpenKey(const std::string& key, bool canCreate);
    void CloseKey();
    bool KeyExists(const std::string& key);
    bool ValueExists(const std::string& name);

    // REG_SZ or REG_EXPAND_SZ (unexpanded), cut at its first NUL; "" when the value is
    // missing or empty. Another type throws ERegistryException "'name' のデータ型が不正です".
    std::string ReadString(const std::string& name);
    // A REG_DWORD as a signed integer. A missing value or one longer than 4 bytes throws
    // "'name' の取得に失敗しました"; another type "'name' のデータ型が不正です".
    std::int32_t ReadInteger(const std::string& name);
    bool ReadBool(const std::string& name);

    // Write into the open key; a failure beeps and changes nothing.
    void WriteString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, std::int32_t value);

    // The open key's path below the root, without a leading "\" ("" when none is open).
    std::string CurrentPath() const;

protected:
    bool HasCurrentKey() const { return open_; }
    std::string ResolveKey(const std::string& key) const;
    RegistryStore& Store();
    // Makes path the current key path; gives the previous one.
    std::string SwapCurrentPath(std::string path);
    // Writes into the key at keyPath (created when missing); a failure beeps.
    void WriteValue(
        const std::string& keyPath, const std::string& name, const RegistryValue& value);

private:
    void WriteOpenKeyValue(const std::string& name, const RegistryValue& value);

    std::unique_ptr<RegistryStore> store_;
    std::string currentPath_;
    bool open_ = false;
};

// An accessor opened on one key, with reads and writes of values of its subkeys.
class TWinRegistry : public TRegistry {
public:
    TWinRegistry(std::string key, bool canCreate);

    // The value Name of SubKey (below the opened key), or def when either is missing.
    std::string ReadSubKeyString(
        const std::string& subKey, const std::string& name, const std::string& def);
    std::int32_t ReadSubKeyInteger(
        const std::string& subKey, const std::string& name, std::int32_t def);
    bool ReadSubKeyBool(const std::string& subKey, const std::string& name, bool def);

    // Creates SubKey when missing and writes Value as a REG_DWORD; a failure beeps.
    void WriteSubKeyInteger(const std::string& subKey, const std::string& name, std::int32_t value);

    const std::string& Key() const { return key_; }

private:
    template <typename T, typename Read>
    T ReadSubKeyValue(const std::string& subKey, const std::string& name, T def, Read read);

    std::string key_;
};

std::unique_ptr<TWinRegistry> CreateWinRegistry(const std::string& key, bool canCreate);

// One call each on SettingsKey (created when missing, also by the reads).
std::int32_t RegReadInteger(const std::string& subKey, const std::string& name, std::int32_t def);
void RegWriteInteger(const std::string& subKey, const std::string& name, std::int32_t value);
bool RegReadBool(const std::string& subKey, const std::string& name, bool def);
