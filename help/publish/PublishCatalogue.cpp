#include "help/publish/PublishCatalogue.h"

#include "help/core/StationLine.h"
#include "help/core/StationListFile.h"
#include "help/publish/PublishPushKeys.h"
#include "shared/core/WindowCloud.h"

#include <stdexcept>

namespace Tunewell {

const Cumulo::TStringDynArray PublishCatalogue::kPath{"ESTACOES"};

namespace {

Cumulo::TJSONValue StationRecord(qsizetype Number, const QString &Line) {
    const auto Fields = CutStationLine(Line);
    Cumulo::TJSONValue Record = Cumulo::TJSONValue::object();
    Record["num"] = std::to_string(Number);
    Record["url"] = Fields.url.toStdString();
    Record["nome"] = Fields.nome.toStdString();
    Record["estilo"] = Fields.estilo.toStdString();
    Record["localizacao"] = Fields.localizacao.toStdString();
    Record["qualidade"] = Fields.qualidade.toStdString();
    Record["favorito"] = Fields.favorito.toStdString();
    Record["serie"] = Fields.serie.toStdString();
    return Record;
}

} // namespace

PublishCatalogue::PublishCatalogue(const QStringList &Lines, PublishPushKeys &Keys) {
    fKeys.reserve(Lines.size());
    auto &Members = fNode.get_ref<Cumulo::TJSONValue::object_t &>();
    Members.reserve(Lines.size());
    for (qsizetype Index = 0; Index < Lines.size(); ++Index) {
        fKeys.push_back(Keys.Next());
        // Every key is new: append without the member search of operator[], which would make a
        // large list quadratic.
        Members.Container::emplace_back(fKeys.back(), StationRecord(Index + 1, Lines[Index]));
    }
}

PublishCatalogue PublishCatalogue::FromFile(const QString &FileName, PublishPushKeys &Keys) {
    return PublishCatalogue(ReadStationList(FileName), Keys);
}

bool PublishCatalogue::Write(WindowCloud &Cloud) const {
    try {
        const auto &Database = Cloud.fRealTimeDB();
        if (!Database)
            throw std::runtime_error("Not signed in: no database client");
        Database->PutSynchronous(kPath, fNode);
    } catch (const std::exception &Error) {
        // The line every failed write of a window logs.
        Cloud.Log().AddLine("Post " + WindowCloud::GetPathFromResParams(kPath) + " failed: " + Error.what());
        return false;
    }
    for (const auto &Key : fKeys)
        Cloud.ShowRTNode(kPath, Cumulo::TJSONValue{{"name", Key}});
    return true;
}

} // namespace Tunewell
