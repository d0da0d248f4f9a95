#pragma once
// The two interfaces of the object /org/mpris/MediaPlayer2: the application
// (org.mpris.MediaPlayer2) and its player (org.mpris.MediaPlayer2.Player). Their
// slots and properties are the bus's methods and properties; Qt D-Bus calls them on
// the UI thread. Times are microseconds, the volume 0.0-1.0.

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>

namespace dz {

class QtMpris;

class QtMprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ can_quit)
    Q_PROPERTY(bool CanRaise READ can_raise)
    Q_PROPERTY(bool HasTrackList READ has_track_list)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktop_entry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ uri_schemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ mime_types)

public:
    QtMprisRootAdaptor(QObject* parent, QtMpris& service);

    bool can_quit() const { return true; }
    bool can_raise() const { return true; }
    bool has_track_list() const { return false; }
    QString identity() const;
    QString desktop_entry() const;
    QStringList uri_schemes() const;
    QStringList mime_types() const;

public slots:
    void Raise();
    void Quit();

private:
    QtMpris& service_;
};

class QtMprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playback_status)
    Q_PROPERTY(QString LoopStatus READ loop_status WRITE set_loop_status)
    Q_PROPERTY(double Rate READ rate WRITE set_rate)
    Q_PROPERTY(bool Shuffle READ shuffle WRITE set_shuffle)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE set_volume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(bool CanGoNext READ can_go_next)
    Q_PROPERTY(bool CanGoPrevious READ can_go_previous)
    Q_PROPERTY(bool CanPlay READ can_play)
    Q_PROPERTY(bool CanPause READ can_play)
    Q_PROPERTY(bool CanSeek READ can_seek)
    Q_PROPERTY(bool CanControl READ can_control)

public:
    QtMprisPlayerAdaptor(QObject* parent, QtMpris& service);

    QString playback_status() const;
    QString loop_status() const;
    void set_loop_status(const QString& status);
    double rate() const { return 1.0; }
    void set_rate(double) {}  // one rate only
    bool shuffle() const;
    void set_shuffle(bool on);
    QVariantMap metadata() const;
    double volume() const;
    void set_volume(double volume);
    qlonglong position() const;
    bool can_go_next() const;
    bool can_go_previous() const;
    bool can_play() const;
    bool can_seek() const;
    bool can_control() const { return true; }

public slots:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong Offset);
    void SetPosition(const QDBusObjectPath& TrackId, qlonglong Position);
    void OpenUri(const QString& Uri);

signals:
    void Seeked(qlonglong Position);

private:
    QtMpris& service_;
};

}  // namespace dz
