#pragma once
// The player on the session bus for desktop media controls: the object
// /org/mpris/MediaPlayer2 with the interfaces of QtMprisAdaptors.h under the name
// org.mpris.MediaPlayer2.dezidu, or org.mpris.MediaPlayer2.dezidu.instance<pid> while
// another player holds that name.
//
// UI thread only. Requests go to the MediaRemote (the worker's queue); the properties are
// read from its published state, and a change of that state is signalled with
// org.freedesktop.DBus.Properties.PropertiesChanged (a jump of the position with Seeked).

#include <QString>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <string>

#include "platform/MediaRemote.h"

class QObject;

namespace dz {

class QtMprisPlayerAdaptor;

class QtMpris {
public:
    // `raise` shows the window in front; `quit` asks it to close (the normal close sequence).
    QtMpris(MediaRemote& remote, std::function<void()> raise, std::function<void()> quit);
    ~QtMpris();
    QtMpris(const QtMpris&) = delete;
    QtMpris& operator=(const QtMpris&) = delete;

    // True when the environment names a session bus (DBUS_SESSION_BUS_ADDRESS, or the
    // socket $XDG_RUNTIME_DIR/bus). Without one nothing connects, so no bus is launched.
    static bool session_bus_exists();
    // Connects and exports the object, then asks for the name (the answer comes later, in
    // the UI loop); false without a session bus or when the bus refuses the object. Needs
    // the QApplication.
    bool start();
    // start() from the UI loop's first turn, after the window's first show.
    void start_later();
    // The bus name taken; empty until the bus granted one.
    std::string service_name() const { return service_.toStdString(); }

    // ---- for the adaptors ----
    // The latest published state (its position at most a present tick old).
    MediaState state() { return remote_.media_state(); }
    void request(const MediaRequest& r) { remote_.media_request(r); }
    void open(const QString& uri);
    void raise() {
        if (raise_) raise_();
    }
    void quit() {
        if (quit_) quit_();
    }

    // The track id of playlist index `track` (NoTrack for -1), and its inverse (-1 for
    // any path that names no track).
    static QString track_path(int track);
    static int track_of(const QString& path);
    // The Metadata property of `s`.
    static QVariantMap metadata_of(const MediaState& s);
    // "Playing", "Paused" or "Stopped".
    static QString status_text(MediaState::Status s);

private:
    void request_name(const QString& name, bool first);
    void on_state_changed();

    MediaRemote& remote_;
    std::function<void()> raise_;
    std::function<void()> quit_;
    std::unique_ptr<QObject> object_;         // the exported object, parent of the adaptors
    QtMprisPlayerAdaptor* player_ = nullptr;  // owned by object_
    MediaState state_;                        // as last signalled
    QString service_;
};

}  // namespace dz
