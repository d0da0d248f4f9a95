#pragma once
// The seams the application reaches besides its window and its audio library.
// Non-owning; the process (or a test) owns them and they outlive the application.
// A null member means the seam is not available (nothing is done).

namespace dz {

class Dialogs;
class HttpClient;
class ImageDecoder;
class PopupMenus;
class TextRenderer;

struct PlatformServices {
    PopupMenus* popup_menus = nullptr;      // UI thread
    Dialogs* dialogs = nullptr;             // UI thread (the worker calls through the host)
    TextRenderer* text = nullptr;           // worker thread
    ImageDecoder* image_decoder = nullptr;  // any thread
    HttpClient* http = nullptr;             // worker thread
};

}  // namespace dz
