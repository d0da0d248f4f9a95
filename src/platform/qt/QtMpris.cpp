#include "platform/qt/QtMpris.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include "platform/qt/QtMprisAdaptors.h"

namespace dz {

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kName = QStringLiteral("org.mpris.MediaPlayer2.dezidu");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kTrackPrefix = QStringLiteral("/org/dezidu/track/");
const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");

}  // namespace

QtMpris::QtMpris(MediaRemote& remote, std::function<void()> raise, std::function<void()> quit)
    : remote_(remote), raise_(std::move(raise)), quit_(std::move(quit)) {}

QtMpris::~QtMpris() {
    if (!object_) return;
    remote_.set_media_listener({});
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!service_.isEmpty()) bus.unregisterService(service_);
    bus.unregisterObject(kObjectPath);
}

bool QtMpris::session_bus_exists() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.isEmpty()) return false;
    struct stat st {};
    const QByteArray socket = runtime + "/bus";
    return stat(socket.constData(), &st) == 0 && S_ISSOCK(st.st_mode) && st.st_uid == getuid();
}

bool QtMpris::start() {
    if (object_) return true;
    if (!session_bus_exists()) return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    object_ = std::make_unique<QObject>();
    new QtMprisRootAdaptor(object_.get(), *this);
    player_ = new QtMprisPlayerAdaptor(object_.get(), *this);
    if (!bus.registerObject(kObjectPath, object_.get(), QDBusConnection::ExportAdaptors)) {
        object_.reset();
        player_ = nullptr;
        return false;
    }
    remote_.set_media_listener([this] { on_state_changed(); });
    request_name(kName, true);
    return true;
}

// The name is asked for without waiting: a bus that is slow to answer never holds up the
// UI thread. RequestName flag 4: fail rather than queue; answers 1 (primary owner) and 4
// (already owner) mean the name is ours.
void QtMpris::request_name(const QString& name, bool first) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("RequestName"));
    call << name << 4u;
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), object_.get());
    QObject::connect(
        watcher, &QDBusPendingCallWatcher::finished, object_.get(),
        [this, name, first](QDBusPendingCallWatcher* w) {
            w->deleteLater();
            const QDBusPendingReply<uint> reply = *w;
            if (!reply.isError() && (reply.value() == 1 || reply.value() == 4)) {
                service_ = name;
                return;
            }
            // Another player has the plain name: this one adds its pid.
            if (first)
                request_name(
                    kName + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid()),
                    false);
        });
}

void QtMpris::start_later() {
    QTimer::singleShot(0, [this] { start(); });
}

QString QtMpris::status_text(MediaState::Status s) {
    switch (s) {
        case MediaState::Status::Playing:
            return QStringLiteral("Playing");
        case MediaState::Status::Paused:
            return QStringLiteral("Paused");
        case MediaState::Status::Stopped:
            break;
    }
    return QStringLiteral("Stopped");
}

void QtMpris::open(const QString& uri) {
    const QUrl url(uri);
    std::string path;
    if (url.isLocalFile())
        path = url.toLocalFile().toStdString();
    else if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))
        path = uri.toStdString();
    else
        return;
    remote_.media_open({path});
}

QString QtMpris::track_path(int track) {
    return track < 0 ? kNoTrack : kTrackPrefix + QString::number(track);
}

int QtMpris::track_of(const QString& path) {
    if (!path.startsWith(kTrackPrefix)) return -1;
    bool ok = false;
    const int track = path.mid(kTrackPrefix.size()).toInt(&ok);
    return ok && track >= 0 && track_path(track) == path ? track : -1;
}

QVariantMap QtMpris::metadata_of(const MediaState& s) {
    QVariantMap m;
    m.insert(QStringLiteral("mpris:trackid"),
             QVariant::fromValue(QDBusObjectPath(track_path(s.track))));
    if (s.track < 0) return m;
    m.insert(QStringLiteral("xesam:title"), QString::fromStdString(s.title));
    if (s.length_us > 0) m.insert(QStringLiteral("mpris:length"), qlonglong(s.length_us));
    const QString location = QString::fromStdString(s.location);
    const QUrl url =
        location.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(location) : QUrl(location);
    if (!location.isEmpty())
        m.insert(QStringLiteral("xesam:url"), url.toString(QUrl::FullyEncoded));
    return m;
}

void QtMpris::on_state_changed() {
    if (!player_) return;
    const MediaState now = remote_.media_state();
    const MediaState& was = state_;
    QVariantMap changed;
    auto put = [&changed](const char* name, const QVariant& value) {
        changed.insert(QString::fromLatin1(name), value);
    };
    if (now.status != was.status) put("PlaybackStatus", status_text(now.status));
    if (now.track != was.track || now.title != was.title || now.location != was.location ||
        now.length_us != was.length_us)
        put("Metadata", metadata_of(now));
    if (now.volume != was.volume) put("Volume", now.volume);
    if (now.shuffle != was.shuffle) put("Shuffle", now.shuffle);
    if (now.repeat != was.repeat)
        put("LoopStatus", now.repeat ? QStringLiteral("Track") : QStringLiteral("None"));
    if (now.can_play != was.can_play) {
        put("CanPlay", now.can_play);
        put("CanPause", now.can_play);
    }
    if (now.can_go_next != was.can_go_next) put("CanGoNext", now.can_go_next);
    if (now.can_go_previous != was.can_go_previous) put("CanGoPrevious", now.can_go_previous);
    if (now.can_seek != was.can_seek) put("CanSeek", now.can_seek);
    const bool seeked = now.seeks != was.seeks;
    state_ = now;
    if (!changed.isEmpty()) {
        QDBusMessage signal = QDBusMessage::createSignal(
            kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("PropertiesChanged"));
        signal << kPlayerInterface << changed << QStringList();
        QDBusConnection::sessionBus().send(signal);
    }
    if (seeked) emit player_->Seeked(now.position_us);
}

}  // namespace dz
