#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QVariantMap>
#include <functional>

namespace Tunewell {

class PlayerRemote;

// The interface org.mpris.MediaPlayer2.Player over the remote. A live stream has no position:
// seeking is not offered and asking for it changes nothing. Commands run once the call has been
// answered, as a row played may have to write to the cloud or show a message first.
class MediaPlayer2Player : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(double Rate READ Rate WRITE SetRate)
    Q_PROPERTY(double MinimumRate READ Rate)
    Q_PROPERTY(double MaximumRate READ Rate)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(bool CanGoNext READ CanGoNext)
    Q_PROPERTY(bool CanGoPrevious READ CanGoPrevious)
    Q_PROPERTY(bool CanPlay READ CanPlay)
    Q_PROPERTY(bool CanPause READ CanPause)
    Q_PROPERTY(bool CanSeek READ CanSeek)
    Q_PROPERTY(bool CanControl READ CanControl)
public:
    MediaPlayer2Player(QObject *Exported, PlayerRemote &Remote);

    QString PlaybackStatus() const;
    double Rate() const { return 1.0; }
    // One speed only: another rate is ignored, but 0.0 pauses, as the interface asks.
    void SetRate(double Rate);
    QVariantMap Metadata() const;
    double Volume() const;
    void SetVolume(double Volume);
    qlonglong Position() const { return 0; }
    bool CanGoNext() const;
    bool CanGoPrevious() const;
    bool CanPlay() const;
    bool CanPause() const;
    bool CanSeek() const { return false; }
    bool CanControl() const { return true; }

public Q_SLOTS:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong Offset);
    void SetPosition(const QDBusObjectPath &TrackId, qlonglong Position);
    void OpenUri(const QString &Uri);

Q_SIGNALS:
    // Never sent: nothing moves a live stream's position.
    void Seeked(qlonglong Position);

private:
    void Later(std::function<void()> Command);

    PlayerRemote &Remote_;
};

} // namespace Tunewell
