// Times what a desktop's GetAll of the media interface's player properties costs the main
// window with a large catalogue: every property read once, as the bus reads them, with the
// station playing in the table and with one the table does not hold (a station the last reload
// took away), also with the grid narrowed to one row. Prints the median and the worst of 200 reads for each.
// Usage: mediainterface-bench [STATIONS]; run with QT_QPA_PLATFORM=offscreen where there is no
// display.
#include "Player/Wmp.h"
#include "Player/WmpOptions.h"
#include "SampleStations.h"
#include "SampleTable.h"
#include "app/core/StationTable.h"
#include "app/desktop/FormRadioRemote.h"
#include "app/desktop/MediaPlayer2Player.h"
#include "app/ui/FormRadio.h"
#include "app/ui/MessageDialogs.h"
#include "app/ui/StationFilterModel.h"
#include "app/ui/WmpStationPlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMetaProperty>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// No cloud at all: the window is never shown, so it never asks.
class NoCloud : public Tunewell::IWindowCloudClients {
public:
    std::shared_ptr<Cumulo::IFirebaseAuthentication> CreateAuthentication(const std::string &) override {
        return nullptr;
    }
    std::shared_ptr<Cumulo::IRealTimeDB>
    CreateRealTimeDB(const std::string &, std::shared_ptr<Cumulo::IFirebaseAuthentication>) override {
        return nullptr;
    }
};

// Every readable property of the adaptor once, as the bus's GetAll reads them.
void GetAll(const QObject &Adaptor) {
    const QMetaObject *meta = Adaptor.metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        meta->property(i).read(&Adaptor);
}

void Report(const char *What, const QObject &Adaptor) {
    std::vector<double> times;
    for (int round = 0; round < 200; ++round) {
        QElapsedTimer clock;
        clock.start();
        GetAll(Adaptor);
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e3);
    }
    std::sort(times.begin(), times.end());
    std::printf("GetAll, %s: median %.1f us, worst %.1f us\n", What, times[times.size() / 2], times.back());
}

} // namespace

int main(int argc, char **argv) {
    using namespace Tunewell;
    QApplication application(argc, argv);
    const int stations = argc > 1 ? std::stoi(argv[1]) : 50000;
    MessageDialogs dialogs;
    Player::WmpOptions options;
    options.autoStart = false;
    options.audioSink = QStringLiteral("fakesink");
    auto player = std::make_unique<WmpStationPlayer>(options);
    Player::Wmp &wmp = player->Control();
    TFormRadio form(WindowEnvironment{dialogs, std::make_shared<NoCloud>()}, std::move(player), {});
    TunewellBench::FillSampleTable(form.cdsRadios, stations);
    FormRadioRemote remote(form, wmp);
    QObject exported;
    const MediaPlayer2Player adaptor(&exported, remote);
    std::printf("stations: %d\n", stations);

    // The station playing is the table's current row, half way down.
    form.cdsRadios.SetCurrentRow(stations / 2);
    wmp.setURL(QString::fromStdString(TunewellBench::SampleUrl(stations / 2)));
    Report("the station playing in the table", adaptor);
    // The table no longer holds the station playing.
    wmp.setURL(QStringLiteral("http://bench.invalid/gone"));
    Report("the station playing not in the table", adaptor);
    // Found by its name, one station is left in the grid: whether there is a next one to go to
    // asks where the station playing is.
    form.Filter1->SetText(QString::fromStdString(TunewellBench::SampleName(stations - 1)));
    std::printf("rows shown: %d\n", form.Filter1->rowCount());
    Report("one row shown, the station playing not in the table", adaptor);
    return 0;
}
