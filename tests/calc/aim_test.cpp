#include "calc/aim.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calc/magnetic.h"

namespace palquin {
namespace {

using namespace std::chrono;

TEST(AimParseTest, OrbitalPositions) {
    struct Row {
        const char* text;
        double degrees;  // NAN: rejected
        char hemisphere;
    };
    const Row rows[] = {
        {"13E", 13, 'E'},   {"5W", 5, 'W'},      {"13.0E", 13, 'E'}, {" 0e ", 0, 'E'},
        {"180W", 180, 'W'}, {"4.8E", 4.8, 'E'},  {"", NAN, 0},       {"E13", NAN, 0},
        {"13", NAN, 0},     {"13.0.0E", NAN, 0}, {"181E", NAN, 0},   {"-5W", NAN, 0},
        {"13EE", NAN, 0},   {"1e2E", NAN, 0},    {"infE", NAN, 0},   {"13,0E", NAN, 0},
        {"13 E", NAN, 0},   {".E", NAN, 0},      {"13\nE", NAN, 0},  {"13N", NAN, 0},
    };
    for (const Row& row : rows) {
        const auto parsed = ParseOrbitalPosition(row.text);
        ASSERT_EQ(parsed.has_value(), !std::isnan(row.degrees)) << "'" << row.text << "'";
        if (parsed) {
            EXPECT_EQ(parsed->degrees, row.degrees) << row.text;
            EXPECT_EQ(parsed->hemisphere, row.hemisphere) << row.text;
        }
    }
}

TEST(AimParseTest, LatitudesAndLongitudes) {
    struct Row {
        bool latitude;
        const char* text;
        double value;  // NAN: rejected
    };
    const Row rows[] = {
        {true, "55.75", 55.75}, {true, "-33.9", -33.9}, {true, "33.9S", -33.9},
        {true, "10n", 10},      {true, "+90", 90},      {true, "-0", 0},
        {true, "90.01", NAN},   {true, "-55S", NAN},    {true, "N", NAN},
        {true, "55.75X", NAN},  {true, "nan", NAN},     {true, "1e1", NAN},
        {true, "55.75E", NAN},  {false, "37.6E", 37.6}, {false, "74W", -74},
        {false, "-180", -180},  {false, "181", NAN},    {false, "37.6N", NAN},
    };
    for (const Row& row : rows) {
        const auto parsed = row.latitude ? ParseLatitude(row.text) : ParseLongitude(row.text);
        ASSERT_EQ(parsed.has_value(), !std::isnan(row.value)) << "'" << row.text << "'";
        if (parsed) {
            EXPECT_EQ(*parsed, row.value) << row.text;
            EXPECT_FALSE(*parsed == 0.0 && std::signbit(*parsed)) << row.text << " gave -0";
        }
    }
}

TEST(AimParseTest, Dates) {
    EXPECT_EQ(ParseDate("2026-06-21"), (CivilDate{2026, 6, 21}));
    EXPECT_EQ(ParseDate("2024-02-29"), (CivilDate{2024, 2, 29}));
    for (const char* bad : {"2026-02-29", "2026-13-01", "2026-00-10", "2026-06-31", "2026-6-21",
                            "2026/06/21", "2026-06-21 ", "2026-06-2x", "", "21.06.2026"}) {
        EXPECT_FALSE(ParseDate(bad).has_value()) << bad;
    }
}

TEST(AimTest, MagneticAzimuthIsTrueMinusDeclinationInOneTurn) {
    struct Row {
        double trueDeg, declinationDeg, magneticDeg;
    };
    for (const Row row : {Row{181.9, 11.3, 170.6}, Row{5, 12, 353}, Row{350, -16, 6}, Row{0, 0, 0},
                          Row{360, 0, 0}, Row{377.776, 12, 5.776}, Row{-4.572, -16, 11.428}}) {
        EXPECT_NEAR(MagneticAzimuth(row.trueDeg, row.declinationDeg), row.magneticDeg, 1e-9)
            << row.trueDeg << " " << row.declinationDeg;
    }
}

// A site in Moscow and the satellite at 36 E on midsummer's day, Moscow time.
const AimRequest kMoscow36E{{55.75, 37.6}, {36, 'E'}, {2026, 6, 21}, 180min};

TEST(AimTest, MoscowMidsummer) {
    const AimResult r = ComputeAim(kMoscow36E);
    ASSERT_TRUE(r.azimuthDeg && r.elevationDeg && r.rotationDeg && r.visible);
    EXPECT_NEAR(*r.azimuthDeg, 181.935, 0.0005);  // the program's own pointing and rotation
    EXPECT_NEAR(*r.elevationDeg, 26.463, 0.0005);
    EXPECT_NEAR(*r.rotationDeg, 1.089, 0.0005);
    EXPECT_TRUE(*r.visible);
    EXPECT_NEAR(r.declinationDeg, 12.0, 1.0);  // compasses in Moscow point about 12 degrees east
    EXPECT_NEAR(*r.magneticAzimuthDeg, *r.azimuthDeg - r.declinationDeg, 1e-9);
    ASSERT_TRUE(r.sun.has_value());
    // Local noon is near 09:31 UTC; the sun needs a few minutes more to reach 181.9 degrees.
    EXPECT_LE(abs(r.sun->utc - (sys_days{2026y / 6 / 21} + 9h + 36min)), 2min);
    EXPECT_TRUE(r.warnings.empty());
}

TEST(AimTest, EquatorGivesNoPointingButDeclinationAndSun) {
    AimRequest request = kMoscow36E;
    // From the equator a satellite is due east or due west, and the sun reaches those azimuths
    // only on the day of an equinox: here due west at about 14:46 UTC, as the sun crosses the
    // equator.
    request.site = {0.0, 30.0};
    request.satellite = {60, 'W'};
    request.date = {2026, 3, 20};
    const AimResult r = ComputeAim(request);
    EXPECT_FALSE(r.azimuthDeg || r.magneticAzimuthDeg || r.elevationDeg || r.rotationDeg ||
                 r.visible);
    EXPECT_TRUE(std::isfinite(r.declinationDeg));
    ASSERT_TRUE(r.sun.has_value());
    EXPECT_EQ(r.warnings.size(), 1u);
    const std::string json = FormatAimJson(r);
    EXPECT_NE(json.find("\"azimuthDeg\": null, \"magneticAzimuthDeg\": null"), std::string::npos)
        << json;
    EXPECT_NE(json.find("\"visible\": null, \"sunAlignment\": \"2026-03-20T"), std::string::npos)
        << json;
}

TEST(AimTest, ExpiredModelAndHiddenSatelliteAreWarnings) {
    AimRequest request = kMoscow36E;
    request.date = {2031, 1, 1};
    request.satellite = {140, 'W'};
    const AimResult r = ComputeAim(request);
    EXPECT_TRUE(r.modelExpired);
    EXPECT_EQ(r.visible, false);
    EXPECT_EQ(r.warnings.size(), 2u);
    const std::string text = FormatAimText(r);
    EXPECT_NE(text.find("Предупреждение: Дата вне срока модели WMM2025"), std::string::npos)
        << text;
}

TEST(AimTest, JsonHasEveryKeyOnce) {
    const std::string json = FormatAimJson(ComputeAim(kMoscow36E));  // sun at 12:36 local time
    for (const char* key :
         {"azimuthDeg", "magneticAzimuthDeg", "declinationDeg", "elevationDeg", "rotationDeg",
          "visible", "sunAlignment", "sunElevationDeg", "warnings"}) {
        const std::string quoted = std::string("\"") + key + "\": ";
        const auto at = json.find(quoted);
        ASSERT_NE(at, std::string::npos) << key << " in " << json;
        EXPECT_EQ(json.find(quoted, at + 1), std::string::npos) << key;
    }
    EXPECT_NE(json.find("\"sunAlignment\": \"2026-06-21T12:36:00+03:00\""), std::string::npos)
        << json;
    EXPECT_TRUE(json.starts_with('{') && json.ends_with("[]}\n")) << json;
}

TEST(AimTest, IsoMinuteRoundsAndCarriesTheOffset) {
    const sys_seconds base = sys_days{2026y / 6 / 21} + 9h + 35min;
    struct Row {
        sys_seconds utc;
        minutes offset;
        const char* text;
    };
    for (const Row& row : {
             Row{base + 29s, 180min, "2026-06-21T12:35:00+03:00"},
             Row{base + 30s, 180min, "2026-06-21T12:36:00+03:00"},
             Row{base, 330min, "2026-06-21T15:05:00+05:30"},
             Row{base, -600min, "2026-06-20T23:35:00-10:00"},
             Row{sys_days{2026y / 12 / 31} + 23h + 59min + 45s, 0min, "2027-01-01T00:00:00+00:00"},
         }) {
        EXPECT_EQ(FormatIsoMinute(row.utc, row.offset), row.text);
    }
}

TEST(AimTest, PictureWindowLines) {
    const std::string kNever = "Солнце на этом азимуте сегодня не бывает";
    // The clock reads 08:00 UTC on midsummer's day, Moscow time; e0 as the window keeps it.
    const sys_seconds now = sys_days{2026y / 6 / 21} + 8h;
    const PictureAimTexts moscow = MakePictureAimTexts({55.75, 37.6}, 181.935, now, 180min);
    EXPECT_EQ(moscow.magnetic, "Магнитный азимут: 169.8° (склонение +12.1°, WMM2025)");
    EXPECT_EQ(moscow.sun, "Солнце на этом азимуте: 12:36 (высота 57.7°)");

    // From the equator the sun stands due west only on the day of an equinox (about 14:40 UTC
    // on 2026-03-20), so "today" must be the day of the local clock, not of UTC.
    const GeoPosition equator{0.0, 30.0};
    const sys_seconds equinoxEveUtc = sys_days{2026y / 3 / 19} + 22h + 30min;  // 01:30 local
    EXPECT_NE(MakePictureAimTexts(equator, 270.0, equinoxEveUtc, 180min).sun, kNever);
    EXPECT_EQ(MakePictureAimTexts(equator, 270.0, equinoxEveUtc + 23h, 180min).sun, kNever);

    // Polar night, and a date past the model's years.
    const PictureAimTexts murmansk =
        MakePictureAimTexts({68.97, 33.08}, 185.0, sys_days{2031y / 12 / 21} + 9h, 180min);
    EXPECT_EQ(murmansk.sun, kNever);
    EXPECT_NE(murmansk.magnetic.find(", WMM2025, срок модели истёк)"), std::string::npos)
        << murmansk.magnetic;

    const PictureAimTexts noAzimuth = MakePictureAimTexts({55.75, 37.6}, NAN, now, 180min);
    EXPECT_TRUE(noAzimuth.magnetic.starts_with("Магнитный азимут: не вычисляется (склонение"))
        << noAzimuth.magnetic;
    EXPECT_EQ(noAzimuth.sun, kNever);
}

}  // namespace
}  // namespace palquin
