#include "cli/SizeReport.h"

#include "cli/CliArguments.h"
#include "cli/CliFailure.h"
#include "support/core/ObjectsTotal.h"
#include "support/core/ShownName.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <ostream>

namespace {

QString JsonText(const std::string& cp932)
{
    return QString::fromStdString(ToTerminal(cp932));
}

QJsonArray JsonNames(const std::vector<std::string>& names)
{
    QJsonArray array;
    for (const std::string& name : names)
        array.append(JsonText(name));
    return array;
}

template <typename Counts>
QJsonObject JsonCounts(const Counts& counts)
{
    return {{"bytes", static_cast<qint64>(counts.bytes)},
            {"files", static_cast<qint64>(counts.files)},
            {"folders", static_cast<qint64>(counts.folders)},
            {"partial", counts.Partial()},
            {"unreadable", JsonNames(counts.unreadable)}};
}

template <typename Counts>
void WriteCounts(std::ostream& out, const Counts& counts)
{
    out << counts.bytes << '\t' << counts.files << '\t' << counts.folders;
}

void WriteJson(std::ostream& out, const std::vector<std::string>& objects, const std::vector<ObjectSize>& sizes,
               const std::vector<int>& holders, const SizeTotal& total, bool each)
{
    QJsonObject document = JsonCounts(total);
    if (each) {
        QJsonArray list;
        for (std::size_t i = 0; i < objects.size(); ++i) {
            QJsonObject object = JsonCounts(sizes[i]);
            object.insert("path", JsonText(objects[i]));
            object.insert("exists", sizes[i].exists);
            object.insert("heldBy", holders[i] < 0 ? QJsonValue() : QJsonValue(JsonText(objects[holders[i]])));
            list.append(object);
        }
        document.insert("objects", list);
    }
    out << QJsonDocument(document).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace

SizeReportOptions SizeOptions(const std::vector<std::string>& arguments)
{
    SizeReportOptions options;
    for (const std::string& argument : arguments) {
        if (argument == "--each")
            options.each = true;
        else if (argument == "--json")
            options.json = true;
        else if (argument.starts_with("-"))
            throw CliUsageError("size のオプション " + argument + " が分かりません");
        else if (options.name.empty())
            options.name = argument;
        else
            throw CliUsageError("コマンド size の引数の数が違います");
    }
    if (options.name.empty())
        throw CliUsageError("コマンド size の引数の数が違います");
    return options;
}

void WriteSizeReport(std::ostream& out, const std::vector<std::string>& objects,
                     const std::vector<ObjectSize>& sizes, const SizeReportOptions& options)
{
    const std::vector<int> holders = HoldingObjects(sizes);
    const SizeTotal total = TotalOf(sizes);
    if (options.json) {
        WriteJson(out, objects, sizes, holders, total, options.each);
        return;
    }
    for (std::size_t i = 0; options.each && i < objects.size(); ++i) {
        WriteCounts(out, sizes[i]);
        out << '\t' << ToTerminal(ShownName(objects[i]));
        if (holders[i] >= 0)
            out << '\t' << ToTerminal(ShownName(objects[holders[i]]));
        out << '\n';
    }
    WriteCounts(out, total);
    out << (options.each ? "\t合計\n" : "\n");
}
