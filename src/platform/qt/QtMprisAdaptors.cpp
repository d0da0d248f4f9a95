#include "platform/qt/QtMprisAdaptors.h"

#include "platform/qt/QtMpris.h"

namespace dz {

QtMprisRootAdaptor::QtMprisRootAdaptor(QObject* parent, QtMpris& service)
    : QDBusAbstractAdaptor(parent), service_(service) {}

QString QtMprisRootAdaptor::identity() const {
    return QStringLiteral("Dezidu");
}

QString QtMprisRootAdaptor::desktop_entry() const {
    return QStringLiteral("dezidu");
}

QStringList QtMprisRootAdaptor::uri_schemes() const {
    return {QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https")};
}

QStringList QtMprisRootAdaptor::mime_types() const {
    return {QStringLiteral("application/x-ptcop"), QStringLiteral("application/x-pttune")};
}

void QtMprisRootAdaptor::Raise() {
    service_.raise();
}

void QtMprisRootAdaptor::Quit() {
    service_.quit();
}

// ---- player ----

namespace {

MediaRequest Request(MediaRequest::Kind kind) {
    MediaRequest r;
    r.kind = kind;
    return r;
}

}  // namespace

QtMprisPlayerAdaptor::QtMprisPlayerAdaptor(QObject* parent, QtMpris& service)
    : QDBusAbstractAdaptor(parent), service_(service) {}

QString QtMprisPlayerAdaptor::playback_status() const {
    return QtMpris::status_text(service_.state().status);
}

QString QtMprisPlayerAdaptor::loop_status() const {
    return service_.state().repeat ? QStringLiteral("Track") : QStringLiteral("None");
}

// The player loops the current tune or nothing: "Playlist" is not a mode it has.
void QtMprisPlayerAdaptor::set_loop_status(const QString& status) {
    MediaRequest r = Request(MediaRequest::Kind::SetRepeat);
    if (status == QLatin1String("Track"))
        r.on = true;
    else if (status != QLatin1String("None"))
        return;
    service_.request(r);
}

bool QtMprisPlayerAdaptor::shuffle() const {
    return service_.state().shuffle;
}

void QtMprisPlayerAdaptor::set_shuffle(bool on) {
    MediaRequest r = Request(MediaRequest::Kind::SetShuffle);
    r.on = on;
    service_.request(r);
}

QVariantMap QtMprisPlayerAdaptor::metadata() const {
    return QtMpris::metadata_of(service_.state());
}

double QtMprisPlayerAdaptor::volume() const {
    return service_.state().volume;
}

void QtMprisPlayerAdaptor::set_volume(double volume) {
    MediaRequest r = Request(MediaRequest::Kind::SetVolume);
    r.volume = volume;
    service_.request(r);
}

qlonglong QtMprisPlayerAdaptor::position() const {
    return service_.state().position_us;
}

bool QtMprisPlayerAdaptor::can_go_next() const {
    return service_.state().can_go_next;
}

bool QtMprisPlayerAdaptor::can_go_previous() const {
    return service_.state().can_go_previous;
}

bool QtMprisPlayerAdaptor::can_play() const {
    return service_.state().can_play;
}

bool QtMprisPlayerAdaptor::can_seek() const {
    return service_.state().can_seek;
}

void QtMprisPlayerAdaptor::Next() {
    service_.request(Request(MediaRequest::Kind::Next));
}

void QtMprisPlayerAdaptor::Previous() {
    service_.request(Request(MediaRequest::Kind::Previous));
}

void QtMprisPlayerAdaptor::Pause() {
    service_.request(Request(MediaRequest::Kind::Pause));
}

void QtMprisPlayerAdaptor::PlayPause() {
    service_.request(Request(MediaRequest::Kind::PlayPause));
}

void QtMprisPlayerAdaptor::Stop() {
    service_.request(Request(MediaRequest::Kind::Stop));
}

void QtMprisPlayerAdaptor::Play() {
    service_.request(Request(MediaRequest::Kind::Play));
}

void QtMprisPlayerAdaptor::Seek(qlonglong Offset) {
    MediaRequest r = Request(MediaRequest::Kind::SeekBy);
    r.micros = Offset;
    service_.request(r);
}

// A track id that is not the current tune's is a request about a tune no longer playing.
void QtMprisPlayerAdaptor::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
    const int track = QtMpris::track_of(TrackId.path());
    if (track < 0) return;
    MediaRequest r = Request(MediaRequest::Kind::SetPosition);
    r.track = track;
    r.micros = Position;
    service_.request(r);
}

void QtMprisPlayerAdaptor::OpenUri(const QString& Uri) {
    service_.open(Uri);
}

}  // namespace dz
