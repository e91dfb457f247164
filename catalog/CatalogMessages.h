#pragma once

#include "support/core/TessnaError.h"

struct IdentityLoss;

#include <string>
#include <string_view>
#include <vector>

// The errors of reading and writing catalogs and the control file, as code page 932 text
// with the path in place.

// "ファイル %s を作成できません"
std::string CannotCreateFileMessage(std::string_view path);
// "ストリームへの書き込みエラー"
std::string StreamWriteErrorMessage();
// "%s に書き込めません"
std::string CannotWriteToMessage(std::string_view path);
// The same with why, after ": ".
std::string CannotWriteToMessage(std::string_view path, std::string_view reason);
// Why the system refused to write a file (error: its errno), in the user's terms; SafeSave
// puts it after its messages, following ": ".
std::string WriteFailureReason(int error);
// A save refused because the new file could not keep what the old one had (its owner, its
// mode or an extended attribute), with the cause.
std::string IdentityLostMessage(std::string_view path, const IdentityLoss& loss);

// A file that exists but cannot be read, or not whole as a catalog: the message is
// CannotOpenFileMessage (support/core/FileFacts.h), and the reason says why in the user's
// terms, from the system's error number or as the reader's own words.
class CannotReadError : public TessnaError {
public:
    CannotReadError(std::string_view path, int error);
    CannotReadError(std::string_view path, std::string reason);
    const std::string& Reason() const { return reason_; }

private:
    std::string reason_;
};

// Why an entry of the list is not read as a catalog (reasons of CannotReadError).
namespace NotCatalogReason {
// A link whose target is missing, as when the drive it leads to is not mounted.
std::string DanglingLink();
std::string Folder();
// A pipe, a device or a socket.
std::string NotAFile();
std::string EmptyFile();
// Bytes in the first TextTestLength that are not code page 932 text.
std::string NotText();
// No key in the Common section.
std::string NoCommonKey();
// A NUL byte after the text test: the reader stops there.
std::string NulByte();
// A title longer than the reader keeps.
std::string TitleTooLong();
// A list value that leads out of the program folder by its own text.
std::string OutsideFolder();
// A list value longer than the reader keeps.
std::string ValueTooLong();
}  // namespace NotCatalogReason

// One catalog of the list that could not be read, and why.
struct UnreadableCatalog {
    std::string fileName;
    std::string reason;
};

// The one message about every catalog of a load that could not be read.
std::string UnreadableCatalogsMessage(const std::vector<UnreadableCatalog>& catalogs);
// The refusal of a command on a catalog that could not be read.
std::string NotLoadedMessage(std::string_view displayedName, std::string_view reason);
// The question before a save overwrites files that changed on disk since they were read.
std::string ChangedOnDiskQuestion(const std::vector<std::string>& fileNames);
// The folder lock could not be had: another Tessna or tessna-cli is saving there.
std::string FolderBusyMessage(std::string_view folder);
// The folder lock cannot be taken at all (error: the errno of opening or locking the lock
// file), with the cause in the user's terms.
std::string FolderLockFailedMessage(std::string_view folder, int error);
