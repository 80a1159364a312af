#pragma once

#include "FakeCloud.h"
#include "RecordingDialogs.h"
#include "RecordingPlayer.h"
#include "app/core/KeptCatalogue.h"
#include "app/ui/FormRadio.h"

#include <QPoint>
#include <QString>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// Readable failures for texts of the windows.
inline void PrintTo(const QString &Text, std::ostream *Stream) {
    *Stream << '"' << Text.toStdString() << '"';
}

namespace Tunewell::Testing {

// The main window against a scripted cloud holding a small catalogue, with recorded dialogs and
// a silent player; the settings store lives in a temporary folder for the whole suite.
class FormRadioFixture : public ::testing::Test {
protected:
    static constexpr const char *kProfile = "-Prof1";

    void SetUp() override;
    void TearDown() override;

    // Stores a profile ID, as a registration would.
    static void SetProfile(const std::string &ProfileID);
    // Creates and shows the window, as a new run of the program, and waits for its first start-up
    // sequence to end.
    TFormRadio &Start();
    // The same window, created and not shown yet.
    TFormRadio &Create();
    // Waits until the window has kept Count catalogues since it was created.
    void WaitForKept(int Count);
    // Waits for the next run of the start-up sequence started by Action.
    void RunAndWaitForStartUp(const std::function<void()> &Action);
    // Waits until the window's cloud steps asked so far have ended.
    void WaitForCloud();
    // The row holding a serie, or -1.
    int RowOfSerie(const std::string &Serie) const;
    // A mouse click on a cell of the grid.
    void ClickCell(int Row, int Column);
    const Cumulo::TJSONValue *Node(const Cumulo::TStringDynArray &Path) const;
    std::vector<std::string> CallsTo(const std::string &Needle) const;

    std::shared_ptr<FakeCloudScript> Script = std::make_shared<FakeCloudScript>();
    // The clients and fixed values the window is created with; the scripted cloud by default.
    std::shared_ptr<IWindowCloudClients> Clients = std::make_shared<FakeCloudClients>(Script);
    WindowCloudSettings Settings = WindowCloudSettings::FromBuild();
    RecordingDialogs Dialogs;
    RecordingPlayer *Player = nullptr;
    // Where the window keeps its catalogue; none by default.
    std::shared_ptr<KeptCatalogue> Kept;
    // What starts the program's own local cloud; none by default.
    std::shared_ptr<ILocalCloudStarter> LocalCloud;
    int KeptCount = 0;
    std::unique_ptr<TFormRadio> Form;
    // The child windows the menu opens; by default plain windows that close at once.
    ChildWindowFactory Children;
    // Where each child window was shown, in screen coordinates.
    std::vector<QPoint> ChildPositions;
};

} // namespace Tunewell::Testing
