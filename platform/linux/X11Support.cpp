#include "X11Support.h"

#include <algorithm>
#include <cstring>

namespace vardo::platform::x11 {

ErrorTrap::ErrorTrap(Display* display) : display_(display), outermost_(trapped_ == nullptr) {
    if (!outermost_) return;
    trapped_ = display;
    previous_ = XSetErrorHandler(&ErrorTrap::Handle);
}

ErrorTrap::~ErrorTrap() {
    XSync(display_, False);
    if (!outermost_) return;
    XSetErrorHandler(previous_);
    trapped_ = nullptr;
}

int ErrorTrap::Handle(Display* display, XErrorEvent* event) {
    if (display == trapped_) return 0;
    return previous_ ? previous_(display, event) : 0;
}

namespace {

std::vector<Display*> survivingDisplays;
XIOErrorHandler previousIOErrorHandler = nullptr;

int SurviveConnectionLoss(Display* display) {
    if (std::find(survivingDisplays.begin(), survivingDisplays.end(), display) !=
        survivingDisplays.end())
        return 0;
    return previousIOErrorHandler ? previousIOErrorHandler(display) : 0;
}

// Enough for any caption that survives the cut to 255 characters and for every other property
// read here; a client cannot make us copy more than this.
constexpr long kPropertyLongs = 1024;

}  // namespace

void SurviveLossOf(Display* display, bool& lost) {
    // Installed once: installing it again would make it its own predecessor.
    [[maybe_unused]] static const bool installed = [] {
        previousIOErrorHandler = XSetIOErrorHandler(&SurviveConnectionLoss);
        return true;
    }();
    survivingDisplays.push_back(display);
    XSetIOErrorExitHandler(
        display, [](Display*, void* flag) { *static_cast<bool*>(flag) = true; }, &lost);
}

void ForgetDisplay(Display* display) {
    std::erase(survivingDisplays, display);
}

std::vector<unsigned char> ReadProperty(Display* display, Window window, Atom property, Atom type,
                                        Atom* actualType, int* format) {
    Atom foundType = None;
    int foundFormat = 0;
    unsigned long items = 0;
    unsigned long remaining = 0;
    unsigned char* raw = nullptr;
    if (XGetWindowProperty(display, window, property, 0, kPropertyLongs, False, type, &foundType,
                           &foundFormat, &items, &remaining, &raw) != Success)
        return {};
    XPointer<unsigned char> data(raw);
    if (actualType) *actualType = foundType;
    if (format) *format = foundFormat;
    if (!data || foundType == None) return {};
    std::size_t unit = foundFormat == 32 ? sizeof(long) : static_cast<std::size_t>(foundFormat / 8);
    return std::vector<unsigned char>(data.get(), data.get() + items * unit);
}

std::vector<long> ReadLongs(Display* display, Window window, Atom property, Atom type) {
    int format = 0;
    const auto bytes = ReadProperty(display, window, property, type, nullptr, &format);
    if (format != 32 || bytes.empty()) return {};
    std::vector<long> values(bytes.size() / sizeof(long));
    std::memcpy(values.data(), bytes.data(), values.size() * sizeof(long));
    return values;
}

std::optional<WindowTree> QueryTree(Display* display, Window window) {
    WindowTree tree;
    Window* rawChildren = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &tree.root, &tree.parent, &rawChildren, &count))
        return std::nullopt;
    XPointer<Window> children(rawChildren);
    tree.children.assign(children.get(), children.get() + count);
    return tree;
}

std::string Latin1ToUtf8(const std::vector<unsigned char>& text) {
    std::string utf8;
    for (unsigned char c : text) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

std::string CutUtf8(std::string text, std::size_t characters) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (count++ == characters) {
            text.resize(i);
            break;
        }
    }
    return text;
}

}  // namespace vardo::platform::x11
