#include "skin/SkinCursors.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "base/PathUtil.h"
#include "skin/SkinBitmaps.h"
#include "skin/SkinBudget.h"
#include "skin/SkinFile.h"
#include "skin/SkinLoadListener.h"

namespace dz {

namespace {

void set_why(std::string* why, std::string text) {
    if (why) *why = std::move(text);
}

}  // namespace

CursorHandle LoadSkinCursor(EdxImages& cursor_images, std::string_view element,
                            const std::filesystem::path& file, ImageDecoder& decoder,
                            WindowHost* window, std::string* why, DecodedImage* shape,
                            SkinBudget* budget) {
    if (const EdxImage* present = cursor_images.lookup(element)) return present->cursor;
    std::string bytes;
    if (const ReadFileStatus status = ReadSkinFile(file, bytes); status != ReadFileStatus::Ok) {
        set_why(why, describe(status));
        return 0;
    }
    if (budget) {
        const std::optional<ImageSize> size = decoder.cursor_size(AsBytes(bytes));
        if (!size) {
            set_why(why, "not a readable cursor");
            return 0;
        }
        if (!budget->take(*size)) {
            set_why(why, kOverBudget);
            return 0;
        }
    }
    const std::optional<DecodedImage> decoded = decoder.decode_cursor(AsBytes(bytes));
    if (!decoded) {
        set_why(why, "not a readable cursor");
        return 0;
    }
    const CursorHandle cursor = window ? window->make_cursor(*decoded) : 0;
    if (!cursor) {
        set_why(why, "the window made no cursor of it");
        return 0;
    }
    if (shape) {
        shape->width = decoded->width;
        shape->height = decoded->height;
        shape->hot_x = decoded->hot_x;
        shape->hot_y = decoded->hot_y;
    }
    auto entry = std::make_unique<EdxImage>();
    entry->cursor = cursor;
    cursor_images.insert(element, entry);
    return cursor;
}

void LoadFolderCursors(const std::filesystem::path& folder, EdxImages& cursor_images,
                       ImageDecoder& decoder, WindowHost* window, SkinBudget& budget,
                       SkinLoadListener* listener) {
    for (const char* pattern : {"*.cur", "*.ani"}) {
        std::vector<DirEntry> files = find_files(folder, pattern);
        std::sort(files.begin(), files.end(),
                  [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
        for (const DirEntry& f : files) {
            if (f.is_dir) continue;
            const std::string element(path_remove_extension(f.name));
            if (!IsUsedCursor(element)) {
                if (listener) listener->on_skipped(f.name, kUnusedElement);
                continue;
            }
            if (cursor_images.lookup(element)) {
                if (listener) {
                    listener->on_skipped(f.name,
                                         "element " + MakeElementKey(element) + " already loaded");
                }
                continue;
            }
            std::string why;
            DecodedImage shape;
            const CursorHandle cursor = LoadSkinCursor(cursor_images, element, folder / f.name,
                                                       decoder, window, &why, &shape, &budget);
            if (!cursor) {
                ReportNotLoaded(listener, f.name, why, &budget);
                continue;
            }
            if (listener)
                listener->on_cursor(MakeElementKey(element), shape.width, shape.height, shape.hot_x,
                                    shape.hot_y, f.name);
        }
    }
}

CursorHandle FindSkinCursor(const EdxImages& cursor_images, std::string_view element) {
    const EdxImage* entry = cursor_images.lookup(element);
    return entry ? entry->cursor : 0;
}

void ReleaseSkinCursors(EdxImages& cursor_images, WindowHost* window) {
    if (window) {
        for (const auto& [key, entry] : cursor_images.entries()) {
            if (entry && entry->cursor) window->destroy_cursor(entry->cursor);
        }
    }
    cursor_images.clear();
}

}  // namespace dz
