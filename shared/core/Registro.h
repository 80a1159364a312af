#pragma once

#include <QString>
#include <stdexcept>

namespace Tunewell {

// The settings store failed: a value that is not text, or a write that did not reach the disk.
class ERegistroError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Per-user text values below a store named xArquivo (on Windows the registry key
// HKEY_CURRENT_USER\<xArquivo>, elsewhere the file <user config folder>/<xArquivo>.ini).
// An empty xSection is the store itself; otherwise a section below it.

// Sets xIdent to xValue; the store on disk is replaced whole, never left half written.
void GravarRegistro(const QString &xArquivo, const QString &xSection, const QString &xIdent,
                    const QString &xValue);
// The value, or empty text when the store, the section or the value does not exist.
QString LerRegistro(const QString &xArquivo, const QString &xSection, const QString &xIdent);
// Removes xIdent; removing a value that does not exist changes nothing. xValue plays no part.
void ExcluirRegistro(const QString &xArquivo, const QString &xSection, const QString &xIdent,
                     const QString &xValue);

} // namespace Tunewell
