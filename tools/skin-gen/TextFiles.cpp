#include "TextFiles.h"

#include <array>

namespace skingen {

std::string pledit_txt() {
    return "[Text]\r\n"
           "Normal=#8CF2C8\r\n"
           "Current=#FFC7A8\r\n"
           "NormalBG=#141B2D\r\n"
           "SelectedBG=#3A4A82\r\n"
           "Font=DejaVu Sans\r\n"
           "MbBG=#141B2D\r\n"
           "MbFG=#8CF2C8\r\n";
}

std::string viscolor_txt() {
    struct Line {
        int r, g, b;
        const char* what;
    };
    static constexpr std::array<Line, 24> kLines = {{
        {20, 27, 45, "background (lcd_bg)"},
        {31, 41, 63, "grid dots (lcd_grid)"},
        {242, 141, 178, "spectrum, top (loudest)"},
        {225, 143, 195, "spectrum, band blend"},
        {209, 144, 211, "spectrum, band blend"},
        {192, 146, 228, "spectrum, band blend"},
        {177, 148, 240, "spectrum, band blend"},
        {164, 154, 242, "spectrum, band blend"},
        {151, 159, 243, "spectrum, band blend"},
        {138, 164, 244, "spectrum, band blend"},
        {129, 173, 242, "spectrum, band blend"},
        {123, 185, 236, "spectrum, band blend"},
        {117, 198, 230, "spectrum, band blend"},
        {111, 210, 224, "spectrum, band blend"},
        {115, 219, 218, "spectrum, band blend"},
        {123, 227, 212, "spectrum, band blend"},
        {132, 234, 206, "spectrum, band blend"},
        {140, 242, 200, "spectrum, bottom"},
        {140, 242, 200, "oscilloscope / sine band 1"},
        {109, 213, 223, "oscilloscope / sine band 2"},
        {132, 167, 245, "oscilloscope / sine band 3"},
        {180, 147, 240, "oscilloscope / sine band 4"},
        {242, 141, 178, "oscilloscope / sine band 5"},
        {255, 199, 168, "analyser peaks (peak)"},
    }};
    std::string out;
    for (size_t i = 0; i < kLines.size(); ++i) {
        const Line& l = kLines[i];
        out += std::to_string(l.r) + "," + std::to_string(l.g) + "," + std::to_string(l.b) +
               ",\t// " + std::to_string(i) +
               (i < 10    ? "  "
                : i == 23 ? " "
                          : "  ") +
               l.what + "\r\n";
    }
    return out;
}

std::string region_txt() {
    return "; Dezidu default skin: rounded top corners (pixel centres, outline inside)\r\n"
           "[Normal]\r\n"
           "NumPoints=12\r\n"
           "PointList=2,0 272,0 272,1 273,1 273,2 275,2 275,116 0,116 0,2 1,2 1,1 2,1\r\n"
           "[WindowShade]\r\n"
           "NumPoints=12\r\n"
           "PointList=2,0 272,0 272,1 273,1 273,2 275,2 275,14 0,14 0,2 1,2 1,1 2,1\r\n";
}

}  // namespace skingen
