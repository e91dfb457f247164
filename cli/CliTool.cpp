#include "cli/CliTool.h"

#include "catalog/CatalogFile.h"
#include "catalog/CatalogMessages.h"
#include "catalog/CatalogName.h"
#include "catalog/CatalogRoundTrip.h"
#include "catalog/CatalogStore.h"
#include "cli/CliArguments.h"
#include "cli/CliFailure.h"
#include "cli/SizeReport.h"
#include "cli/WizardOrder.h"
#include "support/core/BuildInfo.h"
#include "support/core/FileFacts.h"
#include "support/core/FileNames.h"
#include "support/core/HostPath.h"
#include "support/core/ShownName.h"
#include "support/core/SizeWalker.h"
#include "support/core/TessnaError.h"

#include <algorithm>
#include <ostream>
#include <set>

struct CliTool::Command {
    const char* name;
    std::size_t minArguments;
    std::size_t maxArguments;
    bool changesList;
    void (CliTool::*run)(CatalogStore&, const Arguments&);
    const char* flag = nullptr;  // an argument the command takes as a switch, wherever it stands
};

namespace {

constexpr std::size_t Unbounded = static_cast<std::size_t>(-1);

int IndexOfCatalog(const CatalogStore& store, const std::string& nameArgument)
{
    const int index = store.IndexOfDisplayedName(NameArgument(nameArgument));
    if (index < 0)
        throw CliFailure("カタログ「" + nameArgument + "」はリストにありません");
    return index;
}

// A name the catalog-name rule refuses ends the command with the rule's message.
void CheckCatalogName(const CatalogNameCheck& check, const std::string& name)
{
    if (const std::string problem = check(name); !problem.empty())
        throw CliFailure(ToTerminal(problem));
}

}  // namespace

CliTool::CliTool(std::ostream& out, std::ostream& err,
                   std::function<std::string()> defaultFolder)
    : out_(out)
    , err_(err)
    , defaultFolder_(std::move(defaultFolder))
{
}

const std::vector<CliTool::Command>& CliTool::Commands()
{
    static const std::vector<Command> commands = {
        {"list", 0, 0, false, &CliTool::List},
        {"show", 1, 1, false, &CliTool::Show},
        {"text", 1, 1, false, &CliTool::Text},
        {"new", 1, Unbounded, true, &CliTool::New},
        {"add", 2, Unbounded, true, &CliTool::Add},
        {"remove", 2, Unbounded, true, &CliTool::Remove},
        {"rename", 2, 2, true, &CliTool::Rename},
        {"delete", 1, 1, true, &CliTool::Delete},
        {"files", 1, 1, false, &CliTool::Files, "-0"},
        {"size", 1, 3, false, &CliTool::Size},
    };
    return commands;
}

std::string CliTool::UsageText()
{
    return R"(使い方: tessna-cli [--folder DIR] COMMAND [ARG...]
       tessna-cli --help
       tessna-cli --version

DIR の VrCatCtl.ini が挙げるカタログのリストを Tessna と同じく読み込み、コマンドを一つ
実行します。リストを変えるコマンドは、そのあと Tessna の「保存」と同じく、変えたカタログ
と、リストが変わったときは VrCatCtl.ini だけを保存します。DIR を省くと Tessna と同じプログラムフォルダです。このプログラムのあるフォルダに
VrCatCtl.ini か tessna.portable があればそのフォルダ、なければ $XDG_DATA_HOME/Kavo/Tessna
（既定は ~/.local/share/Kavo/Tessna）です。NAME はカタログの表示名（カタログファイルの
名前から拡張子を除いたもの）です。

コマンド:
  list                 リストのカタログの表示名を、リストの順に一行に一つ表示します。
  show NAME            一行目に Title= とタイトルを、続いてオブジェクトのパスを一行に
                       一つ、順に表示します。
  text NAME            カタログのテキストを、保存で書かれるとおりに表示します。
  new NAME [PATH...]   ウィザードと同じく新しいカタログを作ります。タイトルは NAME、
                       ファイルは DIR の NAME.VrCat です。パスはウィザードの一覧の初めの
                       順（フォルダ、ファイル、存在しないもの。それぞれフルパスの順）に
                       並び、まったく同じパスは一つになります。
  add NAME PATH...     存在するフォルダを、続いて存在するファイルを、それぞれ指定の順に
                       追加します。まったく同じパスが既にあれば飛ばし、存在しないパスは
                       知らせて飛ばします。大文字と小文字だけが違うパスは別のファイル
                       なので追加します。
  remove NAME PATH...  各パスとまったく同じ（大文字と小文字も区別します）最初の一つを
                       削除します。
  rename NAME NEWNAME  カタログの名前を変えます。ファイル名が変わり、タイトルはそのまま
                       です。前のファイルはディスクに残ります。
  delete NAME          カタログをリストから外します。ファイルはディスクに残ります。
  files NAME [-0]      カタログのオブジェクトのうち存在するもののパスを、一行に一つ、
                       順に表示します。ワイルドカードを含むものは一致するものすべてです。
                       -0 では各パスのあとに改行ではなく NUL を出力します。存在しない
                       ものは標準エラーに示し、ほかを出力したあと終了コード 1 で終わり
                       ます。tar --null -T - や rsync --from0 --files-from=- に渡せます:
                         tessna-cli files NAME -0 | tar --null -T - -cf NAME.tar
  size NAME [--each] [--json]
                       カタログのオブジェクトの合計を「バイト数 ファイル数 フォルダ数」
                       の順にタブで区切って表示します。バイト数は通常のファイルの大きさの
                       和で、ハードリンクで同じファイルに二度届いても一度だけ数えます。
                       リンクはたどらず、ほかのファイルシステムも数えます。ワイルドカードの
                       オブジェクトは一致するものすべてを、ほかのフォルダの中にあるオブジェ
                       クトは一度だけ数えます。--each は先にオブジェクトごとに一行
                       （数とパス、ほかのオブジェクトの中にあればそのパス）を示します。
                       --json はスクリプト向けに JSON で示します。読めなかったフォルダや
                       ファイルがあれば、数えられた分を示したうえで、その名前を標準エラー
                       に示し、終了コード 1 で終わります。

リストにあるのに読み込めないカタログ（自分自身を指すリンク、長すぎる名前、読み取りの
権限がないものなど）は、その旨を標準エラーに示します。そのカタログは list に表示し、保存
してもリストに残し、そのファイルには書き込みません。delete のほかのコマンドはそのカタロ
グには使えません。ほかの Tessna や tessna-cli が同じフォルダを保存している間は、終わる
まで待ちます。

new と rename は、空白だけの名前、\ / : , ; * ? " < > | を含む名前、保存すると元のとおりに
読み戻せない名前（前後の空白、改行など）、フォルダのファイル名の長さを超える名前、リストにある
別のカタログの名前（大文字と小文字は区別しません）、リストにないカタログファイルが既にある名前
を受け付けません。rename は大文字と小文字の違いだけの名前も受け付けません。new と add は、
カタログに保存できないパス（改行を含むものなど）を知らせて飛ばします。

相対パスはカレントフォルダからの絶対パスにします。端末の文字は UTF-8、ファイルの中は
CP932 (Shift-JIS) です。CP932 で書けない文字を含む名前やパスは受け付けません。

終了コード:
  0  完了しました。指定したものはすべて受け付けました。
  1  拒否したか失敗しました。コマンド全体を拒否したか失敗したときは、理由を標準エラーに
     示し、何も保存しません。add、remove、new で指定の一部（存在しないパス、カタログに
     保存できないパス、カタログにないパス）を受け付けなかったときは、それぞれを標準
     エラーに示し、残りを実行して保存します。new で指定したパスがすべて受け付けられない
     ときは、カタログを作りません。
     files では、存在しないオブジェクトがありました。size では、読めなかったものがあり
     合計が一部だけです。
  2  使い方の誤りです。この説明を標準エラーに示します。
)";
}

void CliTool::Refuse(const std::string& message)
{
    err_ << "tessna-cli: " << message << '\n';
    exitCode_ = ExitFailed;
}

std::vector<std::string> CliTool::StorablePaths(std::vector<std::string> paths)
{
    for (const std::string& path : RemoveUnstorablePaths(paths))
        Refuse("「" + ToTerminal(ShownName(path)) + "」はカタログに保存できない名前のため追加しませんでした");
    return paths;
}

int CliTool::UsageError(const std::string& problem)
{
    err_ << "tessna-cli: " << problem << "\n\n" << UsageText();
    return ExitUsage;
}

std::string CliTool::Folder(const std::string& folderArgument) const
{
    const std::string folder = folderArgument.empty() ? defaultFolder_()
                                                      : PathArgument(folderArgument);
    if (!DirExists(folder))
        throw CliFailure("フォルダ「" + ToTerminal(folder) + "」がありません");
    return folder;
}

int CliTool::Run(const std::vector<std::string>& arguments)
{
    std::string folderArgument;
    std::size_t next = 0;
    for (; next < arguments.size() && arguments[next].starts_with("-"); ++next) {
        const std::string& option = arguments[next];
        if (option == "--help" || option == "-h") {
            out_ << UsageText();
            return ExitDone;
        }
        if (option == "--version") {
            out_ << "tessna-cli " << TessnaVersion << '\n';
            return ExitDone;
        }
        if (option == "--folder" && next + 1 < arguments.size())
            folderArgument = arguments[++next];
        else if (option.starts_with("--folder=") && option.size() > 9)
            folderArgument = option.substr(9);
        else
            return UsageError("オプション " + option + " が分かりません");
    }
    if (next == arguments.size())
        return UsageError("コマンドがありません");

    const std::string& name = arguments[next];
    const auto& commands = Commands();
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [&](const Command& c) { return name == c.name; });
    if (command == commands.end())
        return UsageError("コマンド " + name + " はありません");
    Arguments commandArguments(arguments.begin() + static_cast<std::ptrdiff_t>(next) + 1, arguments.end());
    if (command->flag) {
        const auto flags = std::remove(commandArguments.begin(), commandArguments.end(), command->flag);
        flagGiven_ = flags != commandArguments.end();
        commandArguments.erase(flags, commandArguments.end());
    }
    if (commandArguments.size() < command->minArguments
        || commandArguments.size() > command->maxArguments)
        return UsageError("コマンド " + name + " の引数の数が違います");

    try {
        CatalogStore store(Folder(folderArgument));
        // No other writer of the program saves between this load and this save: the files
        // are told apart by their size and identity, without a digest of every byte.
        store.KeepDigests(false);
        // A change holds the folder from the read to the write, so that no other writer's
        // save falls in between; a command that only reads holds it for its read alone.
        auto hold = store.HoldFolder();
        store.LoadCatalogList(0);
        if (!command->changesList)
            hold.Release();
        if (const auto unreadable = store.UnreadableCatalogs(); !unreadable.empty())
            err_ << "tessna-cli: " << ToTerminal(UnreadableCatalogsMessage(unreadable)) << '\n';
        (this->*command->run)(store, commandArguments);
        if (command->changesList)
            store.SaveCatalogList();
    } catch (const CliUsageError& problem) {
        return UsageError(problem.what());
    } catch (const CliFailure& failure) {
        err_ << "tessna-cli: " << failure.what() << '\n';
        return ExitFailed;
    } catch (const TessnaError& error) {
        err_ << "tessna-cli: " << ToTerminal(error.what()) << '\n';
        return ExitFailed;
    } catch (const std::exception& error) {
        err_ << "tessna-cli: " << error.what() << '\n';
        return ExitFailed;
    }
    return exitCode_;
}

void CliTool::List(CatalogStore& store, const Arguments&)
{
    for (const TCatalogEntry& entry : store.Catalogs())
        out_ << ToTerminal(DisplayedName(entry.FileName)) << '\n';
}

void CliTool::Show(CatalogStore& store, const Arguments& arguments)
{
    const int index = IndexOfCatalog(store, arguments[0]);
    store.CheckLoaded(index);
    const TCatalogEntry& entry = store.Catalog(index);
    out_ << "Title=" << ToTerminal(entry.Title) << '\n';
    for (const std::string_view object : entry.Objects)
        out_ << ToTerminal(std::string(object)) << '\n';
}

void CliTool::Text(CatalogStore& store, const Arguments& arguments)
{
    const int index = IndexOfCatalog(store, arguments[0]);
    store.CheckLoaded(index);
    out_ << ToTerminal(CatalogText(store.Catalog(index)));
}

void CliTool::New(CatalogStore& store, const Arguments& arguments)
{
    const std::string name = NameArgument(arguments[0]);
    CheckCatalogName(CatalogNameCheckOf(store), name);

    std::vector<std::string> paths;
    for (auto argument = arguments.begin() + 1; argument != arguments.end(); ++argument)
        paths.push_back(PathArgument(*argument));

    const bool pathsGiven = !paths.empty();
    TCatalogParam data;
    data.Common = CatalogCommonLines(name);
    data.Objects = InWizardOrder(StorablePaths(std::move(paths)));
    // The wizard never makes an empty catalog of objects it refused.
    if (pathsGiven && data.Objects.empty())
        throw CliFailure("カタログに保存できるパスが一つもないため、カタログ「" + arguments[0] + "」を作りませんでした");
    store.AddCatalogFromWizard(data);
}

void CliTool::Add(CatalogStore& store, const Arguments& arguments)
{
    const int index = IndexOfCatalog(store, arguments[0]);
    std::vector<std::string> folders;
    std::vector<std::string> files;
    for (auto argument = arguments.begin() + 1; argument != arguments.end(); ++argument) {
        std::string path = PathArgument(*argument);
        if (DirExists(path))
            folders.push_back(std::move(path));
        else if (IsExistingFile(path))
            files.push_back(std::move(path));
        else
            Refuse("「" + *argument + "」はありません。追加しませんでした");
    }
    folders.insert(folders.end(), files.begin(), files.end());
    store.AddObjects(index, StorablePaths(std::move(folders)));
}

void CliTool::Remove(CatalogStore& store, const Arguments& arguments)
{
    const int index = IndexOfCatalog(store, arguments[0]);
    for (auto argument = arguments.begin() + 1; argument != arguments.end(); ++argument) {
        // A path as the catalog holds it (also one in another system's syntax) goes first;
        // otherwise the argument is a path on this system.
        if (store.RemoveObjects(index, {NameArgument(*argument)}) == 0
            && store.RemoveObjects(index, {PathArgument(*argument)}) == 0)
            Refuse("「" + *argument + "」はカタログにありません");
    }
}

void CliTool::Rename(CatalogStore& store, const Arguments& arguments)
{
    const int index = IndexOfCatalog(store, arguments[0]);
    const std::string oldName = DisplayedName(store.Catalog(index).FileName);
    const std::string newName = NameArgument(arguments[1]);
    if (const std::string unchanged = UnchangedNameProblem(oldName, newName); !unchanged.empty())
        throw CliFailure(ToTerminal(unchanged));
    CheckCatalogName(CatalogNameCheckOf(store, index), newName);
    store.RenameCatalog(index, newName);
}

void CliTool::Delete(CatalogStore& store, const Arguments& arguments)
{
    store.RemoveCatalog(IndexOfCatalog(store, arguments[0]));
}

// The host paths of what the catalog's objects name, for an archiver's list of files. Each
// object that names nothing (a path in another system's syntax included), and each path a
// line cannot hold, is named on the error stream; the command then fails after the rest.
void CliTool::Files(CatalogStore& store, const Arguments& arguments)
{
    const int index = IndexOfCatalog(store, arguments[0]);
    store.CheckLoaded(index);
    const char end = flagGiven_ ? '\0' : '\n';
    std::size_t failed = 0;
    for (const std::string_view listed : store.Catalog(index).Objects) {
        const std::string object(listed);
        const std::vector<std::string> found
            = object.starts_with(PathDelim) ? FindAllMatches(object) : std::vector<std::string>();
        if (found.empty()) {
            err_ << "tessna-cli: 「" << ToTerminal(ShownName(object)) << "」はありません\n";
            ++failed;
        }
        for (const std::string& path : found) {
            const std::string host = ToHostPath(path).value_or(std::string());
            if (host.find(end) != std::string::npos) {
                err_ << "tessna-cli: 「" << ToTerminal(ShownName(path)) << "」は改行を含むため -0 なしでは示せません\n";
                ++failed;
                continue;
            }
            out_ << host << end;
        }
    }
    if (failed > 0)
        throw CliFailure(std::to_string(failed) + " 個のオブジェクトを示せませんでした");
}

void CliTool::Size(CatalogStore& store, const Arguments& arguments)
{
    const SizeReportOptions options = SizeOptions(arguments);
    const int index = IndexOfCatalog(store, options.name);
    store.CheckLoaded(index);
    const std::vector<std::string> objects = store.Catalog(index).Objects.ToStrings();
    std::vector<ObjectSize> sizes;
    for (const std::string& object : objects)
        sizes.push_back(WalkObject(object));
    WriteSizeReport(out_, objects, sizes, options);
    std::set<std::string> named;  // a folder that two objects hold is named once
    for (std::size_t i = 0; i < objects.size(); ++i) {
        if (!sizes[i].exists)
            err_ << "tessna-cli: 「" << ToTerminal(ShownName(objects[i])) << "」はありません\n";
        for (const std::string& name : sizes[i].unreadable) {
            if (named.insert(name).second)
                err_ << "tessna-cli: 「" << ToTerminal(ShownName(name)) << "」は読めないため数えていません\n";
        }
        if (sizes[i].Partial())
            exitCode_ = ExitFailed;
    }
}
