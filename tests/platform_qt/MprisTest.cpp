// What the bus shows of a media state: the track ids and the metadata map.
#include <gtest/gtest.h>

#include <QDBusObjectPath>

#include "platform/qt/QtMpris.h"

namespace dz {
namespace {

TEST(Mpris, TrackIdsNameOnlyPlaylistPlaces) {
    EXPECT_EQ(QtMpris::track_path(-1), QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    EXPECT_EQ(QtMpris::track_of(QtMpris::track_path(12)), 12);
    for (const char* other :
         {"/org/mpris/MediaPlayer2/TrackList/NoTrack", "/org/dezidu/track/", "/org/dezidu/track/07",
          "/org/dezidu/track/-1", "/org/dezidu/track/1/2", "/org/dezidu/track/99999999999"})
        EXPECT_EQ(QtMpris::track_of(QString::fromLatin1(other)), -1) << other;
}

// A local path becomes a file URL with its special characters escaped; a URL stays as listed.
TEST(Mpris, MetadataOfTheCurrentTune) {
    MediaState s;
    QVariantMap m = QtMpris::metadata_of(s);
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m.value("mpris:trackid").value<QDBusObjectPath>().path(), QtMpris::track_path(-1));

    s.track = 2;
    s.title = "音楽";
    s.location = "/home/u/my tunes/#1 ?.ptcop";
    s.length_us = 45'000'000;
    m = QtMpris::metadata_of(s);
    EXPECT_EQ(m.value("mpris:trackid").value<QDBusObjectPath>().path(),
              QStringLiteral("/org/dezidu/track/2"));
    EXPECT_EQ(m.value("xesam:title").toString(), QStringLiteral("音楽"));
    EXPECT_EQ(m.value("mpris:length").toLongLong(), 45'000'000);
    EXPECT_EQ(m.value("xesam:url").toString(),
              QStringLiteral("file:///home/u/my%20tunes/%231%20%3F.ptcop"));

    s.location = "http://example.com/a.ptcop";
    s.length_us = 0;  // not loaded yet
    m = QtMpris::metadata_of(s);
    EXPECT_EQ(m.value("xesam:url").toString(), QStringLiteral("http://example.com/a.ptcop"));
    EXPECT_FALSE(m.contains("mpris:length"));
}

}  // namespace
}  // namespace dz
