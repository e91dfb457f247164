// The catalog wizard's page 2 over a catalog of 100,000 objects: opening the wizard on the
// catalog and going to page 2 (the list filled: every path looked at on disk, the rows made,
// sorted and painted), then the filter box over the page's list: each keystroke of typing a
// 10-character word and erasing it again, and clearing the box, each timed until the list
// has laid out and painted its new rows.

#include "bench/BenchApplication.h"
#include "bench/FilterKeystrokes.h"
#include "bench/HundredThousandObjects.h"
#include "catalog/CatalogParam.h"
#include "support/core/MessageDlg.h"
#include "support/ui/FilterBox.h"
#include "wizard/TessnaForm.h"
#include "wizard/WizardObjectList.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>

#include <cstdio>
#include <memory>

namespace {

HundredThousandObjects& Objects()
{
    static HundredThousandObjects objects;
    return objects;
}

// No box is expected; any would be answered at once instead of waiting for a click.
class YesPrompter : public Prompter {
public:
    int ShowMessageDlg(const std::string&, MsgDlgType, MsgDlgButtons, int) override { return mrYes; }
};
YesPrompter yes;

// The wizard lives from the first benchmark that opens it until before the application ends.
std::unique_ptr<TTessnaForm> wizard;
std::unique_ptr<FilterKeystrokes> keystrokes;
Timing fillTime;

// A fresh wizard in modify mode over the catalog, taken to page 2 and painted there.
Timing OpenOnPage2()
{
    keystrokes.reset();
    wizard.reset();
    const std::string programFolder = Objects().dir.path().toStdString() + "/";
    TCatalogParam param;
    param.FileName = programFolder + "Big.VrCat";
    param.InitialObjects = Objects().paths;
    CatalogWizardServices services;
    services.programFolder = programFolder;
    services.prompter = &yes;

    const Stopwatch watch;
    wizard = std::make_unique<TTessnaForm>(param, std::move(services));
    wizard->show();
    QApplication::processEvents();
    wizard->BtnNextClick();
    QApplication::processEvents();
    wizard->ObjectList().Table()->viewport()->repaint();
    const Timing fill = watch.Elapsed();
    keystrokes = std::make_unique<FilterKeystrokes>(*wizard->ObjectList().Filter(), *wizard->ObjectList().Table());
    return fill;
}

void BM_OpenWizardOnPage2(benchmark::State& state)
{
    for (auto _ : state) {
        fillTime = OpenOnPage2();
        state.SetIterationTime(fillTime.wall);
        if (wizard->CurrentPage() != TTessnaForm::Page02 || wizard->ObjectList().RowCount() != int(Objects().paths.size()))
            state.SkipWithError("the wizard did not show every object on page 2");
    }
}

void BM_FilterTypeAndErase(benchmark::State& state)
{
    if (!keystrokes)
        fillTime = OpenOnPage2();
    for (auto _ : state)
        state.SetIterationTime(keystrokes->TypeAndErase());
}

void BM_FilterClear(benchmark::State& state)
{
    if (!keystrokes)
        fillTime = OpenOnPage2();
    for (auto _ : state)
        state.SetIterationTime(keystrokes->Clear());
}

BENCHMARK(BM_OpenWizardOnPage2)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterTypeAndErase)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterClear)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    const BenchApplication application(argc, argv);
    Objects();
    BenchApplication::Run(argc, argv);

    if (keystrokes)
        keystrokes->Print("wizard's page 2", wizard->ObjectList().RowCount(), fillTime);
    keystrokes.reset();
    wizard.reset();
    return 0;
}
