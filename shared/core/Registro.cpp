#include "shared/core/Registro.h"

#include "shared/core/SettingsFile.h"

#include <QSettings>

namespace Tunewell {

namespace {

QString Key(const QString &xSection, const QString &xIdent) {
    return xSection.isEmpty() ? xIdent : xSection + "/" + xIdent;
}

std::unique_ptr<QSettings> Open(const QString &xArquivo) {
    auto store = OpenSettingsStore(xArquivo);
    // The file is written to a temporary beside it and renamed over it, or not at all.
    store->setAtomicSyncRequired(true);
    if (store->status() == QSettings::FormatError) {
        throw ERegistroError("The settings store " + xArquivo.toStdString() + " cannot be read");
    }
    return store;
}

void Commit(QSettings &Store, const QString &xArquivo) {
    KeepSettingsStorePrivate(Store);
    Store.sync();
    if (Store.status() != QSettings::NoError) {
        throw ERegistroError("The settings store " + xArquivo.toStdString() + " cannot be written");
    }
}

} // namespace

void GravarRegistro(const QString &xArquivo, const QString &xSection, const QString &xIdent,
                    const QString &xValue) {
    auto store = Open(xArquivo);
    store->setValue(Key(xSection, xIdent), xValue);
    Commit(*store, xArquivo);
}

QString LerRegistro(const QString &xArquivo, const QString &xSection, const QString &xIdent) {
    auto store = Open(xArquivo);
    const QVariant value = store->value(Key(xSection, xIdent));
    if (!value.isValid()) {
        return {};
    }
    if (value.typeId() != QMetaType::QString) {
        throw ERegistroError("Invalid data type for '" + xIdent.toStdString() + "'");
    }
    return value.toString();
}

void ExcluirRegistro(const QString &xArquivo, const QString &xSection, const QString &xIdent,
                     const QString &) {
    auto store = Open(xArquivo);
    const QString key = Key(xSection, xIdent);
    if (store->contains(key)) {
        store->remove(key);
        Commit(*store, xArquivo);
    }
}

} // namespace Tunewell
