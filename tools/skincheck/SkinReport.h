#pragma once
// The report of skincheck: what a skin load registered, read and passed over, one line
// each, then the colours, the polygons and the warnings.

#include <ostream>
#include <string>
#include <vector>

#include "skin/SkinLoadListener.h"
#include "skin/SkinLoader.h"

namespace dz {

class SkinReport : public SkinLoadListener {
public:
    explicit SkinReport(std::ostream& out) : out_(out) {}

    // Lines printed as the load goes.
    void on_bitmap(std::string_view key, int width, int height, std::string_view source) override;
    void on_cursor(std::string_view key, int width, int height, int hot_x, int hot_y,
                   std::string_view source) override;
    void on_text(SkinFileKind kind, std::string_view source) override;
    void on_skipped(std::string_view source, std::string_view reason) override;
    void on_over_budget(std::string_view source, int width, int height,
                        std::uint64_t left) override;

    // After the load: the colours and polygons of `skin`, the warnings, a summary line.
    // Returns the number of warnings.
    int finish(const SkinResources& skin);

    int events() const { return events_; }

private:
    void warn(const std::string& text);

    std::ostream& out_;
    int events_ = 0;
    int skipped_ = 0;
    bool viscolor_read_ = false;
    std::vector<std::string> warnings_;
};

}  // namespace dz
