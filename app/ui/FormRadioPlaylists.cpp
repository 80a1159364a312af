// The main window's playlist files: the favourites and one's own stations exported as M3U or PLS,
// and a playlist imported, after a preview, as stars and stations of one's own.
#include "app/core/FileDialogFolder.h"
#include "app/core/OwnStationInput.h"
#include "app/playlists/ImportPlan.h"
#include "app/playlists/M3uWriter.h"
#include "app/playlists/PlaylistError.h"
#include "app/playlists/PlaylistReader.h"
#include "app/playlists/PlsWriter.h"
#include "app/ui/FormRadio.h"
#include "app/ui/OwnStationWrites.h"
#include "app/ui/PlayerMenu.h"
#include "shared/core/WindowCloudFailure.h"
#include "shared/core/WindowCloudProfileID.h"
#include "shared/ui/GeneralErrorDisplay.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QSaveFile>
#include <QStatusBar>
#include <QTableView>

namespace Tunewell {

namespace {
const QString kNothingToExport = QStringLiteral(
    "There are no favourites or stations of your own to export. / N\u00E3o h\u00E1 favoritas nem "
    "esta\u00E7\u00F5es suas para exportar.");

// What an import wrote: the stars, and the stations the cloud acknowledged, in order.
struct ImportWritten {
    bool Starred = false;
    std::vector<TOwnStation> Added;
    bool Complete = false;
};

// Where an export was written, or why not.
struct ExportWritten {
    bool Done = false;
    std::string Problem;
};

ExportWritten WriteExport(const QString &Path, const std::string &Text) {
    QSaveFile file(Path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(Text.data(), static_cast<qint64>(Text.size())) != static_cast<qint64>(Text.size()) ||
        !file.commit())
        return {false, file.errorString().toStdString()};
    return {true, {}};
}

// PLS for a name ending in .pls, M3U otherwise; a name without either gets .m3u.
QString ExportPath(QString Path, bool &Pls) {
    const QString suffix = QFileInfo(Path).suffix().toLower();
    Pls = suffix == QStringLiteral("pls");
    if (!Pls && suffix != QStringLiteral("m3u") && suffix != QStringLiteral("m3u8"))
        Path += QStringLiteral(".m3u");
    return Path;
}
} // namespace

QString TFormRadio::AskImportFileWithDialog(QWidget *Parent) {
    const QString chosen = QFileDialog::getOpenFileName(
        Parent, QStringLiteral("Import / Importar"), FileDialogFolder(FileDialogKind::Playlist),
        QStringLiteral("Playlists (*.m3u *.m3u8 *.pls *.xspf);;All files (*)"));
    RememberFileDialogChoice(chosen);
    return chosen;
}

QString TFormRadio::AskExportFileWithDialog(QWidget *Parent) {
    const QString chosen = QFileDialog::getSaveFileName(
        Parent, QStringLiteral("Export / Exportar"),
        QDir(FileDialogFolder(FileDialogKind::Playlist)).filePath(QStringLiteral("tunewell.m3u")),
        QStringLiteral("M3U (*.m3u);;PLS (*.pls)"));
    RememberFileDialogChoice(chosen);
    return chosen;
}

void TFormRadio::CreatePlaylistItems() {
    Import1 = Stations1->AddItem(QStringLiteral("Import\u2026 / Importar\u2026"),
                                 QKeySequence(Qt::CTRL | Qt::Key_I));
    Import1->setObjectName(QStringLiteral("Import1"));
    connect(Import1, &QAction::triggered, this, [this] { RunHandlerTask(Import1Click()); });
    Export1 = Stations1->AddItem(QStringLiteral("Export\u2026 / Exportar\u2026"),
                                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    Export1->setObjectName(QStringLiteral("Export1"));
    connect(Export1, &QAction::triggered, this, [this] { RunHandlerTask(Export1Click()); });
}

QCoro::Task<> TFormRadio::Export1Click() {
    if (ReadProfileID().empty()) {
        ShowNoProfileMessage();
        co_return;
    }
    std::vector<TPlaylistEntry> entries;
    for (int row = 0; row < cdsRadios.RowCount(); ++row)
        if ((cdsRadios.IsOwn(row) || cdsRadios.Text(row, fpFavoritos) == "1") &&
            !cdsRadios.Text(row, fpUrl).empty())
            entries.push_back(
                {std::string(cdsRadios.Text(row, fpNome)), std::string(cdsRadios.Text(row, fpUrl))});
    if (entries.empty()) {
        Environment_.Dialogs.ShowMessage(this, kNothingToExport);
        co_return;
    }
    const QString asked = AskExportFile(this);
    if (asked.isEmpty())
        co_return;
    bool pls = false;
    const QString path = ExportPath(asked, pls);
    const ExportWritten written = co_await Steps_.Aside(
        [&entries, &path, pls] { return WriteExport(path, pls ? WritePls(entries) : WriteM3u(entries)); });
    if (!written.Done) {
        Environment_.Dialogs.ShowMessage(
            this, QStringLiteral(
                      "The file could not be written: %1 / N\u00E3o foi poss\u00EDvel gravar o arquivo: %1")
                      .arg(QString::fromStdString(written.Problem)));
        co_return;
    }
    StatusBar1->showMessage(QStringLiteral("%1 stations exported / %1 esta\u00E7\u00F5es exportadas: %2")
                                .arg(entries.size())
                                .arg(path),
                            10000);
}

QCoro::Task<> TFormRadio::Import1Click() {
    const std::string profileID = ReadProfileID();
    if (profileID.empty()) {
        ShowNoProfileMessage();
        co_return;
    }
    const QString path = AskImportFile(this);
    if (path.isEmpty())
        co_return;
    const std::filesystem::path file = path.toStdString();
    TPlaylistRead read;
    try {
        read = co_await Steps_.Aside([&file] { return ReadPlaylistFile(file); });
    } catch (const PlaylistError &refused) {
        Environment_.Dialogs.ShowMessage(this, QString::fromUtf8(refused.what()));
        co_return;
    }
    TImportPlan plan = PlanImport(read.Entries, cdsRadios);
    plan.NotStations = read.NotStations;
    if (!AskImportPreview || !AskImportPreview(this, plan, cdsRadios))
        co_return;
    co_await ApplyImport(profileID, plan);
}

QCoro::Task<> TFormRadio::ApplyImport(std::string ProfileID, TImportPlan Plan) {
    std::vector<TOwnStation> stations;
    for (const TPlaylistEntry &entry : Plan.Own)
        stations.push_back(OwnStationFromInput(entry.Title, entry.Address, {}, {}));
    Cumulo::TJSONValue marks = Cumulo::TJSONValue::object();
    for (const std::int64_t serie : Plan.Star)
        marks[std::to_string(serie)] = "1";
    const CloudTurn turn = co_await Steps_.Sequencer().NextTurn();
    turn.CheckMayGoOn();
    if (!co_await SignedInForWrite(turn))
        co_return;
    // The stars in one merge, then each station under its own key; what the cloud acknowledged is
    // shown even when a later write fails.
    const std::vector<TOwnStation> known = KnownOwnStations();
    const auto favourites = WindowCloud::SplitPath("CADASTRADO/" + ProfileID + "/FAVORITOS");
    ImportWritten written;
    try {
        written = co_await Step(turn, [&](WindowCloud &Cloud) {
            ImportWritten done;
            if (!marks.empty() && !Cloud.Patch(favourites, marks).Succeeded)
                return done;
            done.Starred = true;
            std::int64_t serie = stations.empty() ? 0 : NextOwnSerieInTheCloud(Cloud, ProfileID, known);
            for (TOwnStation &station : stations) {
                station.Serie = serie--;
                const std::optional<std::string> key = PostOwnStation(Cloud, ProfileID, station);
                if (!key)
                    return done;
                station.Key = *key;
                done.Added.push_back(station);
            }
            done.Complete = true;
            return done;
        });
    } catch (const ECloudFailure &) {
    }
    if (written.Starred && !marks.empty())
        MarkFavourites(marks);
    if (!written.Added.empty()) {
        const std::string selected =
            cdsRadios.CurrentRow() >= 0 ? cdsRadios.FieldText(fpSerie) : std::string();
        OwnStations_.insert(OwnStations_.end(), written.Added.begin(), written.Added.end());
        KeepingScroll([&] { cdsRadios.AppendRows(OwnStationRows(written.Added)); });
        if (!selected.empty())
            cdsRadios.Locate("serie", selected);
    }
    if (!written.Complete)
        ShowSomethingWentWrong();
    DBGrid1->setFocus();
}

} // namespace Tunewell
