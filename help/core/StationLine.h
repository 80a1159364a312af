#pragma once

#include <QString>

namespace Tunewell {

// The seven fields of one line of the station list, in the line's order.
struct TStationLine {
    QString url;
    QString nome;
    QString estilo;
    QString localizacao;
    QString qualidade;
    QString favorito;
    QString serie;
};

// Cuts a station list line: a double quote, then url|nome|estilo|localizacao|qualidade|
// favorito|serie, then a double quote; text outside the quotes is ignored. url and the last
// four fields lose their surrounding blanks, nome and estilo keep them. A field whose "|" is
// missing comes out empty; serie is then the text before the first double quote left over.
TStationLine CutStationLine(const QString &Line);

} // namespace Tunewell
