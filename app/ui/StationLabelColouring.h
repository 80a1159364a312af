#pragma once

#include <QObject>
#include <vector>

class QLabel;
class QWidget;

namespace Tunewell {

// Colours the captions and values under the player for the skin in use, and again whenever the
// skin changes: navy and maroon where they are legible on the skin's background, else the
// skin's own text colour and accent made legible (ChooseStationLabelColours). The skin's colours
// are read from Panel, the labels' parent, as the skin has styled it.
class StationLabelColouring : public QObject {
    Q_OBJECT
public:
    StationLabelColouring(QWidget &Panel, std::vector<QLabel *> Captions, std::vector<QLabel *> Values);

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    void Apply();

    QWidget &Panel_;
    std::vector<QLabel *> Captions_;
    std::vector<QLabel *> Values_;
};

} // namespace Tunewell
