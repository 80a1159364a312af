#include "help/core/StationLine.h"

#include "shared/core/TrimBlanks.h"

namespace Tunewell {

namespace {

// 1-based position of the first occurrence; 0 when absent.
qsizetype PosOfCharacter(QChar Needle, const QString &Text) {
    return Text.indexOf(Needle) + 1;
}

// Characters from 1-based Start, at most Count; a start below 1 counts as 1.
QString Copy(const QString &Text, qsizetype Start, qsizetype Count) {
    if (Count < 1) {
        return {};
    }
    return Text.mid(std::max<qsizetype>(Start, 1) - 1, Count);
}

void RemoveThrough(QString &Text, QChar Delimiter) {
    Text.remove(0, PosOfCharacter(Delimiter, Text));
}

// The text before the first "|", then everything through that "|" removed.
QString NextField(QString &Text) {
    QString field = Copy(Text, 1, PosOfCharacter('|', Text) - 1);
    RemoveThrough(Text, '|');
    return field;
}

} // namespace

TStationLine CutStationLine(const QString &Line) {
    QString s = Line;
    const qsizetype quote = s.indexOf('"');
    if (quote > 0) {
        s.remove(0, quote);
    }
    TStationLine fields;
    fields.url = TrimBlanks(Copy(s, PosOfCharacter('"', s) + 1, PosOfCharacter('|', s) - 2));
    RemoveThrough(s, '|');
    fields.nome = NextField(s);
    fields.estilo = NextField(s);
    fields.localizacao = TrimBlanks(NextField(s));
    fields.qualidade = TrimBlanks(NextField(s));
    fields.favorito = TrimBlanks(NextField(s));
    fields.serie = TrimBlanks(Copy(s, PosOfCharacter('|', s) - 1, PosOfCharacter('"', s) - 1));
    return fields;
}

} // namespace Tunewell
