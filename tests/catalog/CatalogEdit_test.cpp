// The edits of the list: applying one and then the edit it gives back restores the list byte
// for byte, whatever the edit, and the store refuses an edit that does not match its list.
#include "catalog/CatalogEdit.h"
#include "catalog/CatalogEditRules.h"
#include "catalog/CatalogFile.h"
#include "catalog/CatalogStore.h"
#include "support/core/Cp932.h"
#include "support/core/TessnaError.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <stdexcept>

namespace {

using Lines = std::vector<std::string>;

// What must come back after undoing: the list, each catalog's text as a save would write it,
// and the unreadable entries with their reasons.
struct Snapshot {
    Lines fileNames;
    Lines texts;
    Lines reasons;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const CatalogStore& store)
{
    Snapshot snapshot;
    for (int i = 0; i < store.Count(); ++i) {
        snapshot.fileNames.push_back(store.Catalog(i).FileName);
        snapshot.texts.push_back(store.IsLoaded(i) ? CatalogText(store.Catalog(i)) : std::string());
        snapshot.reasons.push_back(store.UnreadableReason(i));
    }
    return snapshot;
}

class CatalogEditTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder.Write("写真.VrCat",
                     CatalogText({"", Cp932Text("写真"), {"/d/a.txt", "/d/A.TXT", Cp932Text("/データ/ソ")}}));
        folder.Write("b.VrCat", CatalogText({"", "B", {"/b"}}));
        std::filesystem::create_symlink(folder.Path("loop.VrCat"), folder.Path("loop.VrCat"));
        folder.Write("VrCatCtl.ini", "[Compress]\r\n0=" + Cp932Text("写真.VrCat") + "\r\n1=loop.VrCat\r\n2=b.VrCat\r\n");
        store.LoadCatalogList();
        ASSERT_EQ(store.Count(), 3);
    }

    TempFolder folder;
    CatalogStore store{folder.Path()};
};

// A random walk of edits built by the rules and by hand (objects inserted inside a catalog),
// over case twins, code page 932 names and a catalog that cannot be read; then every edit is
// undone and redone.
TEST_F(CatalogEditTest, AThousandRandomEditsUndoneGiveTheStartAndRedoneTheEnd)
{
    std::mt19937 random(18);
    const Lines pool = {"/d/a.txt", "/d/A.TXT", "/d/a.TXT", Cp932Text("/データ/ソ"), Cp932Text("/ﾃﾞｰﾀ"),
                        "/x", "/X", "C:\\Data\\a.txt", "[Objects]", " blank "};
    const Lines names = {"n", "N", Cp932Text("表"), Cp932Text("ソフト"), "b"};
    const auto pick = [&](const Lines& from) { return from[random() % from.size()]; };
    const Snapshot start = Take(store);
    std::vector<CatalogEdit> undo;
    int refused = 0;
    while (undo.size() < 1000) {
        const int catalog = store.IsEmpty() ? -1 : static_cast<int>(random() % static_cast<unsigned>(store.Count()));
        std::optional<CatalogEdit> edit;
        try {
            switch (catalog < 0 ? 0 : random() % 7) {
            case 0:
                edit = NewCatalogEdit(store, {{}, {"Title=" + pick(names)}, {}, {pick(pool), pick(pool)}, {}});
                break;
            case 1:
                if (auto add = AddObjectsEdit(store, catalog, {pick(pool), pick(pool), pick(pool)}))
                    edit = std::move(*add);
                break;
            case 2: {
                const std::size_t size = store.Catalog(catalog).Objects.size();
                if (auto erase = EraseObjectsEdit(store, catalog, {random() % (size + 1), random() % (size + 1)}))
                    edit = std::move(*erase);
                break;
            }
            case 3: {
                const std::size_t size = store.Catalog(catalog).Objects.size();
                edit = InsertObjects{catalog, {random() % (size + 1), size + 1}, {pick(pool), pick(pool)}};
                break;
            }
            case 4:
                edit = SetObjects{catalog, store.Catalog(catalog).Objects.ToStrings(), {pick(pool)}};
                break;
            case 5:
                edit = RenameCatalogEdit(store, catalog, pick(names));
                break;
            default:
                edit = RemoveCatalogEdit(store, catalog);
            }
            if (edit)
                undo.push_back(store.Apply(std::move(*edit)));
        } catch (const std::out_of_range&) {
            // EraseObjectsEdit of a position past the end: a fault of the caller, refused.
            ++refused;
        } catch (const TessnaError&) {
            // An edit of the catalog that cannot be read.
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
    const Snapshot end = Take(store);

    std::vector<CatalogEdit> redo;
    for (auto edit = undo.rbegin(); edit != undo.rend(); ++edit)
        redo.push_back(store.Apply(std::move(*edit)));
    EXPECT_EQ(Take(store), start);
    for (auto edit = redo.rbegin(); edit != redo.rend(); ++edit)
        store.Apply(std::move(*edit));
    EXPECT_EQ(Take(store), end);
}

// An edit that does not match the list changes nothing: it was built for another list.
TEST_F(CatalogEditTest, AnEditThatDoesNotMatchTheListIsRefusedWhole)
{
    const Snapshot before = Take(store);
    const std::uint64_t revision = store.Revision();
    const std::vector<CatalogEdit> wrong = {
        EraseObjects{0, {0, 1}, {"/d/a.txt", "/d/a.txt"}},
        EraseObjects{0, {1, 0}, {"/d/A.TXT", "/d/a.txt"}},
        InsertObjects{0, {5}, {"/z"}},
        SetObjects{2, {"/other"}, {}},
        SetFileName{2, "/elsewhere/b.VrCat", "/x.VrCat"},
        RemoveCatalog{2, {{folder.Path("b.VrCat"), "B", {}}, {}, folder.Path("b.VrCat"), false}},
        InsertCatalog{4, {}},
    };
    for (const CatalogEdit& edit : wrong)
        EXPECT_THROW(store.Apply(edit), std::logic_error) << edit.index();
    EXPECT_THROW(store.Apply(InsertObjects{1, {0}, {"/z"}}), TessnaError);
    EXPECT_EQ(Take(store), before);
    EXPECT_EQ(store.Revision(), revision);
    EXPECT_FALSE(store.Modified());
}

// Each applied edit is announced once, as applied, after the list holds its result; the
// catalog it touched is edited and the list changed only when its catalogs did.
TEST_F(CatalogEditTest, EachEditIsAnnouncedAndCounted)
{
    std::vector<CatalogEdit> seen;
    Lines objectsSeen;
    QObject::connect(&store, &CatalogStore::Edited, [&](const CatalogEdit& edit) {
        seen.push_back(edit);
        objectsSeen = store.Catalog(0).Objects.ToStrings();
    });
    const std::uint64_t revision = store.Revision();

    const auto inverse = store.Apply(*ErasePathsEdit(store, 0, {"/d/A.TXT"}));
    ASSERT_EQ(seen.size(), 1u);
    const auto& erased = std::get<EraseObjects>(seen[0]);
    EXPECT_EQ(erased.positions, std::vector<std::size_t>{1});
    EXPECT_EQ(erased.paths, Lines{"/d/A.TXT"});
    EXPECT_EQ(objectsSeen, (Lines{"/d/a.txt", Cp932Text("/データ/ソ")}));
    EXPECT_EQ(store.Revision(), revision + 1);
    EXPECT_TRUE(store.IsEdited(0));
    EXPECT_FALSE(store.IsEdited(2));
    EXPECT_FALSE(store.ListChanged());

    store.Apply(inverse);
    EXPECT_EQ(std::get<InsertObjects>(seen[1]).positions, std::vector<std::size_t>{1});
    store.RemoveCatalog(2);
    EXPECT_TRUE(store.ListChanged());
    EXPECT_EQ(store.Revision(), revision + 3);
}

}  // namespace
