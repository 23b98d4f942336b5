#include "SkinModel.h"

#include "SkinDrawing.h"
#include "SkinRead.h"
#include "TextCodec.h"
#include "WinSkinIni.h"

#include <QPainter>

#include <algorithm>
#include <cctype>
#include <type_traits>

namespace vardo {
namespace {

// The standard scroll-bar arrow width, which the combo box's button takes.
constexpr int kScrollBarWidth = 16;
// The cell of the combined combo box image and of its arrow.
constexpr int kComboCellWidth = 50;
constexpr int kComboCellHeight = 21;
constexpr int kComboArrowSize = 17;
// The widest margin a skin may give an element, in pixels.
constexpr int kMaxMargin = 4096;

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// Every element present in the model, the always-present ones first, as pointers of the
// model's constness.
template <typename Model>
auto ElementsOf(Model& m) {
    using Element =
        std::conditional_t<std::is_const_v<Model>, const TDataSkinObject, TDataSkinObject>;
    std::vector<Element*> out{&m.FrameLeft,   &m.FrameRight, &m.FrameTop,
                              &m.FrameBottom, &m.Title,      &m.Buttons};
    for (const auto& button : m.CaptionButtons) out.push_back(button.get());
    Element* optional[] = {
        m.Progress.get(),   m.ProgressChunk.get(), m.MenuBar.get(),         m.GroupBoxEdge.get(),
        m.GroupBox.get(),   m.Tabs.get(),          m.StatusBarEdges.get(),  m.TabPane.get(),
        m.ToolBars.get(),   m.ComboButton.get(),   m.SunkEdge.get(),        m.ExtraImages.get(),
        m.Headerbar.get(),  m.MenuItem.get(),      m.MenuBackground.get(),  m.Scrollbar.get(),
        m.HorzScroll.get(), m.VertScroll.get(),    m.HorzScrollThumb.get(), m.VertScrollThumb.get(),
        m.UpDownHorz.get(), m.UpDownVert.get(),    m.Track.get(),           m.TrackVert.get(),
        m.ComboArrow.get(), m.Toolbar.get()};
    for (Element* e : optional) {
        if (e) out.push_back(e);
    }
    for (const auto& thumb : m.TrackBarThumbs) {
        if (thumb) out.push_back(thumb.get());
    }
    return out;
}

// Reads one skin definition into a model, in the order the definition's parts depend on each
// other: colours before the elements that default to them, elements before what is composed
// from them.
class DefinitionReader {
  public:
    DefinitionReader(const TQuickIni& ini, const TSkinReader& reader, TSkinModel& model)
        : ini_(ini), reader_(reader), m_(model) {}

    void Read() {
        m_.SkinName =
            QString::fromStdString(DecodeFileText(ini_.ReadString("TitlebarSkin", "SkinName", "")));
        ReadFrameEdges();
        ReadColours();
        ReadCaptionButtons();
        ReadButtons();
        ReadTitle();
        ReadElements();
        FixFrameCounts();
        ComposeCombo();
        // The tool bar background is shaded from the frame colour, so that comes first.
        m_.FrameColour = FrameColourOf(m_.FrameTop, m_.Colours.ButtonFace);
        MakeToolbarBackground();
        m_.ButtonFaceBrush = QBrush(ColorToQColor(m_.Colours.ButtonFace));
    }

  private:
    std::string Str(std::string_view section, std::string_view key) const {
        return ini_.ReadString(section, key, "");
    }
    int Int(std::string_view section, std::string_view key, int def) const {
        return ini_.ReadInteger(section, key, def);
    }
    TColor Colour(std::string_view section, std::string_view key, TColor def) const {
        const std::string text = Str(section, key);
        return text.empty() ? def : ParseColourValue(text);
    }

    QImage Image(std::string_view reference) const {
        const std::string_view name = BareEntryName(reference);
        if (!name.ends_with(".bmp")) return QImage();
        std::string bytes;
        reader_.GetEntry(name, bytes);
        if (bytes.empty()) return QImage();
        QImage image;
        image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                           static_cast<int>(bytes.size()), "BMP");
        return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
    }

    void ReadFrameEdges() {
        struct Edge {
            const char* name;
            TDataSkinBorder& element;
            bool vertical;
        };
        for (const Edge& edge :
             {Edge{"Left", m_.FrameLeft, true}, Edge{"Right", m_.FrameRight, true},
              Edge{"Top", m_.FrameTop, false}, Edge{"Bottom", m_.FrameBottom, false}}) {
            const std::string n = edge.name;
            TDataSkinBorder& e = edge.element;
            e.Name = QString::fromStdString(n);
            const int first = Int("Personality", n + "TopHeight", 0);
            const int second = Int("Personality", n + "BotHeight", 0);
            (edge.vertical ? e.TopMargin : e.LeftMargin) = first;
            (edge.vertical ? e.BottomMargin : e.RightMargin) = second;
            e.FrameCount = Int("Personality", n + "Frame", 1);
            e.Tile = std::min(Int("Personality", n + "Stretch", 1), 1);
            e.Trans = Int("Personality", n + "Trans", 1);
            e.Bitmap = Image(Str("Personality", n));
        }
    }

    void ReadColours() {
        TSkinColours& c = m_.Colours;
        const char* s = "Colours";
        c.WindowText = Colour(s, "WindowText", clWindowText);
        c.ButtonFace = Colour(s, "ButtonFace", clBtnFace);
        c.Scrollbar = Colour(s, "Scrollbar", clScrollBar);
        c.HilightText = Colour(s, "HilightText", clHighlightText);
        c.Hilight = Colour(s, "Hilight", clHighlight);
        c.Menubar = Colour(s, "Menubar", c.ButtonFace);
        c.Menu = Colour(s, "Menu", clMenu);
        c.MenuText = Colour(s, "MenuText", clMenuText);
        c.ButtonText = Colour(s, "ButtonText", clBtnText);
        c.ButtonHilight = Colour(s, "ButtonHilight", clBtnHighlight);
        c.Buttonlight = Colour(s, "Buttonlight", clBtnHighlight);
        c.ButtonShadow = Colour(s, "ButtonShadow", clBtnShadow);
        c.ButtonDkShadow = Colour(s, "ButtonDkShadow", cl3DDkShadow);
        c.MenuBarText = Colour(s, "MenuBarText", clMenuText);
        c.TitleTextActive = Colour(s, "TitleTextActive", clCaptionText);
        c.TitleTextNoActive = Colour(s, "TitleTextNoActive", clInactiveCaptionText);
        for (const std::string& section : ini_.ReadSections()) {
            const std::string upper = Upper(section);
            if (upper.starts_with("COLOUR") && upper != "COLOURS") {
                c.Numbered.append(Colour(section, "color", clWindowText));
            }
        }
        for (int i = 0; i < 10; ++i) {
            c.Custom[i] = Colour("Customcolors", "Color" + std::to_string(i), clWhite);
        }
    }

    void ReadCaptionButtons() {
        for (const std::string& section : ini_.ReadSections()) {
            const std::string upper = Upper(section);
            if (!upper.starts_with("BUTTON") || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
                upper == "BUTTON.CHECKBOX" || upper == "BUTTON") {
                continue;
            }
            const int action = Int(section, "Action", 0);
            const int visibility = Int(section, "Visibility", -1);
            if (action == -1 && visibility != 0) continue;

            auto b = std::make_unique<TDataSkinSysButton>();
            b->Name = QString::fromStdString(section);
            b->Action = action;
            b->Align = Int(section, "Align", 0);
            b->X = Int(section, "Xcoord", 0);
            b->Y = Int(section, "Ycoord", 0);
            b->Visibility = Int(section, "Visibility", 0);
            b->Visibility1 = Int(section, "Visibility1", action == -1 ? -1 : 0);
            b->CombineOp = Int(section, "CombineOp", -1);
            b->FrameCount = Int(section, "frame", 0);
            b->Bitmap = Image(Str(section, "ButtonImage"));
            if (b->FrameCount == 0) {
                // The frame count follows from the image's proportions: 3 states are about as
                // wide as high each, 6 states twice that.
                const QImage& image = b->Bitmap;
                const bool threeFrames =
                    !image.isNull() && image.width() * 10 <= image.height() * 38 && action >= 0;
                b->FrameCount = threeFrames ? 3 : 6;
                if (action == 3 || action == 11) b->Bitmap = QImage();
            }
            m_.CaptionButtons.push_back(std::move(b));
        }
        const QImage mdiImage = Image(Str("MDICONTROLS", "Image"));
        const int cell = mdiImage.width() / 12;
        for (int k = 0; k < 3; ++k) {
            auto b = std::make_unique<TDataSkinSysButton>();
            b->Name = QStringLiteral("MDICONTROLS");
            b->Action = 7 + k;
            b->Align = 100;
            b->Visibility = 100;
            b->Visibility1 = 100;
            b->FrameCount = 4;
            if (!mdiImage.isNull()) {
                b->Bitmap = mdiImage.copy(4 * k * cell, 0, 4 * cell, mdiImage.height());
                b->X = (cell + 4) * (3 - k);
            }
            m_.CaptionButtons.push_back(std::move(b));
        }
    }

    // The keys every control element has.
    void ReadCommon(TDataSkinObject& e, std::string_view section, bool withFrame) {
        e.Name = QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size()));
        e.Style = Int(section, "Style", 0);
        e.LeftMargin = Int(section, "LeftWidth", 0);
        e.RightMargin = Int(section, "RightWidth", 0);
        e.TopMargin = Int(section, "TopHeight", 0);
        e.BottomMargin = Int(section, "BottomHeight", 0);
        if (withFrame) e.FrameCount = Int(section, "Frame", 0);
        e.Trans = Int(section, "Trans", 0);
        e.Tile = Int(section, "Tile", 0);
        if (e.Tile > 1) e.Tile = 0;
        e.NormalColour = Colour(section, "NormalColour", kColourNotGiven);
        e.MouseOverColour = Colour(section, "MouseOverColour", kColourNotGiven);
        e.PressedColour = Colour(section, "PressedColour", kColourNotGiven);
        e.NormalColour2 = Colour(section, "NormalColour2", m_.Colours.ButtonText);
        e.MouseOverColour2 = Colour(section, "MouseOverColour2", m_.Colours.ButtonText);
        e.PressedColour2 = Colour(section, "PressedColour2", m_.Colours.ButtonText);
    }

    void ReadButtons() {
        TDataSkinButton& b = m_.Buttons;
        ReadCommon(b, "Buttons", false);
        b.Bitmap = Image(Str("Buttons", "Bitmap"));
        b.CheckBitmap = Image(Str("Buttons", "CheckButton"));
        b.RadioBitmap = Image(Str("Buttons", "RadioButton"));
        b.RadioFrameCount = Int("Buttons", "RadioButtonFrame", 0);
        b.CheckFrameCount = Int("Buttons", "CheckButtonFrame", 0);
        b.NormalColour2Given = !Str("Buttons", "NormalColour2").empty();
        b.MouseOverColour2Given = !Str("Buttons", "MouseOverColour2").empty();
        b.PressedColour2Given = !Str("Buttons", "PressedColour2").empty();
    }

    void ReadTitle() {
        TDataSkinTitle& t = m_.Title;
        const char* p = "Personality";
        t.Name = QStringLiteral("Title");
        t.Bitmap = Image(Str(p, "TextBack"));
        t.TextShift = Int(p, "TextShift", 0);
        t.TextShiftVert = Int(p, "TextShiftVert", 0);
        t.TextRightClip = Int(p, "TextRightClip", 0);
        t.TextAlignment = Int(p, "TextAlignment", 0);
        t.TextBackground = Int(p, "Textbackground", 0);
        t.TextBackLeft = Int(p, "TXTBackleft", 0);
        t.TextBackRight = Int(p, "TXTBackRight", 0);
        t.LeftMargin = t.TextBackLeft;
        t.RightMargin = t.TextBackRight;
        t.FontHeight = Int("Fonts", "FontHeight", 14);
        t.ActiveTextColour = TitleColour("ActiveText");
        t.InactiveTextColour = TitleColour("InActiveText");
    }

    TColor TitleColour(const std::string& prefix) const {
        const int r = Int("Personality", prefix + "R", -1);
        const int g = Int("Personality", prefix + "G", -1);
        const int b = Int("Personality", prefix + "B", -1);
        if (r < 0 || g < 0 || b < 0) return kTitleColourNotGiven;
        return RGBColor(std::min(r, 255), std::min(g, 255), std::min(b, 255));
    }

    // An element of its own section, present only when the section names an image.
    template <typename T = TDataSkinObject>
    std::unique_ptr<T> Element(std::string_view section, bool withFrame = true,
                               std::string_view secondImageKey = {}) {
        const std::string image = Str(section, "Image");
        if (image.empty()) return nullptr;
        auto e = std::make_unique<T>();
        ReadCommon(*e, section, withFrame);
        e->Bitmap = Image(image);
        if constexpr (std::is_base_of_v<TDataSkinBorder, T>) {
            if (!secondImageKey.empty()) e->Bitmap2 = Image(Str(section, secondImageKey));
        }
        return e;
    }

    std::unique_ptr<TDataSkinBorder> ReadProgress() {
        const std::string image = Str("Progress", "Bitmap");
        if (image.empty()) return nullptr;
        auto e = std::make_unique<TDataSkinBorder>();
        e->Name = QStringLiteral("Progress");
        e->Style = Int("Progress", "Style", 0);
        e->LeftMargin = Int("Progress", "LeftWidth", 0);
        e->RightMargin = Int("Progress", "RightWidth", 0);
        e->TopMargin = Int("Progress", "TopHeight", 0);
        e->BottomMargin = Int("Progress", "BottomHeight", 0);
        e->Trans = Int("Progress", "Trans", 0);
        e->Tile = std::min(Int("Progress", "Tile", 0), 1);
        e->Bitmap = Image(image);
        return e;
    }

    std::unique_ptr<TDataSkinObject> ReadMenuBar() {
        const std::string image = Str("Personality", "menuBar");
        if (image.empty()) return nullptr;
        auto e = std::make_unique<TDataSkinObject>();
        e->Name = QStringLiteral("menuBar");
        e->Tile = std::min(Int("Personality", "TileMenu", 1), 1);
        e->LeftMargin = Int("Personality", "TileLeftMenu", 1);
        e->RightMargin = Int("Personality", "TileRightMenu", 1);
        e->Bitmap = Image(image);
        return e;
    }

    // The track-bar channel of the skin, else the program's own.
    std::unique_ptr<TDataSkinObject> ReadTrack(const char* section, const char* programBitmap) {
        if (auto e = Element(section)) return e;
        auto e = std::make_unique<TDataSkinObject>();
        e->Name = QString::fromLatin1(section);
        e->Bitmap = ProgramBitmap(programBitmap);
        e->LeftMargin = e->TopMargin = e->RightMargin = e->BottomMargin = 3;
        e->FrameCount = 1;
        return e;
    }

    void ReadElements() {
        m_.Progress = ReadProgress();
        m_.ProgressChunk = Element("Progress.Chunk");
        m_.MenuBar = ReadMenuBar();
        m_.GroupBoxEdge = Element("GroupBoxEdge");
        m_.GroupBox = Element<TDataSkinBoxLabel>("GroupBox");
        if (m_.GroupBox) {
            m_.GroupBox->BackgroundAlignment = Int("GroupBox", "BackgroundAlignment", 0);
            m_.GroupBox->BackgroundLeftShift = Int("GroupBox", "BackgroundLeftShift", 0);
            m_.GroupBox->BackgroundRightShift = Int("GroupBox", "BackgroundRightShift", 0);
        }
        m_.Tabs = Element<TDataSkinBorder>("Tabs", false, "Border");
        m_.StatusBarEdges = Element("StatusBarEdges");
        m_.TabPane = Element("Tab.Pane");
        if (m_.TabPane) {
            for (int* margin : {&m_.TabPane->LeftMargin, &m_.TabPane->TopMargin,
                                &m_.TabPane->RightMargin, &m_.TabPane->BottomMargin}) {
                *margin = std::min(*margin, 4);
            }
        }
        m_.ToolBars = Element("ToolBars");
        m_.ComboButton = Element<TDataSkinBorder>("ComboButton", false);
        if (m_.ComboButton) {
            m_.ComboButton->Bitmap2 = m_.ComboButton->Bitmap.convertToFormat(QImage::Format_RGB888);
        }
        m_.SunkEdge = Element("SunkEdge");
        m_.ExtraImages = Element("ExtraImages");
        m_.Headerbar = Element("Headerbar");
        m_.MenuItem = Element("MenuItem");
        m_.MenuBackground = Element("MenuBackground");
        m_.Scrollbar = Element("Scrollbar");
        m_.HorzScroll = Element("HorzScroll");
        m_.VertScroll = Element("VertScroll");
        m_.HorzScrollThumb = Element("HorzScrollThumb");
        m_.VertScrollThumb = Element("VertScrollThumb");
        static constexpr const char* kThumbs[6] = {"Trackbar.ThumbHorz", "Trackbar.ThumbVert",
                                                   "Trackbar.ThumbLeft", "Trackbar.ThumbRight",
                                                   "Trackbar.ThumbUp",   "Trackbar.ThumbDown"};
        for (int i = 0; i < 6; ++i) m_.TrackBarThumbs[i] = Element(kThumbs[i]);
        m_.UpDownHorz = Element<TDataSkinBorder>("UpDown.Horz", false, "GlyphImage");
        m_.UpDownVert = Element<TDataSkinBorder>("UpDown.Vert", false, "GlyphImage");
        m_.Track = ReadTrack("Track", "TRACK");
        m_.TrackVert = ReadTrack("TRACKVERT", "TRACKVERT");
    }

    static void SetFrames(TDataSkinObject* e, int frames) {
        if (e) e->FrameCount = frames;
    }

    // A check or radio image without a frame count holds cells 13 (small images) or 16 wide.
    static int GlyphFrames(const QImage& image) {
        const int cell = image.height() < 16 ? 13 : 16;
        return std::max(image.width() / cell, 4);
    }

    void FixFrameCounts() {
        m_.Buttons.FrameCount = 5;
        m_.Title.FrameCount = 2;
        if (m_.Progress) m_.Progress->FrameCount = m_.Progress->Style == 0 ? 2 : 1;
        SetFrames(m_.MenuBar.get(), 2);
        SetFrames(m_.GroupBoxEdge.get(), 2);
        SetFrames(m_.ToolBars.get(), 5);
        SetFrames(m_.Tabs.get(), 5);
        SetFrames(m_.TabPane.get(), 1);
        SetFrames(m_.StatusBarEdges.get(), 3);
        SetFrames(m_.GroupBox.get(), 1);
        SetFrames(m_.ComboButton.get(), 4);
        SetFrames(m_.SunkEdge.get(), 4);
        SetFrames(m_.ExtraImages.get(), 5);
        if (m_.Headerbar && m_.Headerbar->FrameCount == 0) m_.Headerbar->FrameCount = 5;
        SetFrames(m_.MenuItem.get(), 5);
        SetFrames(m_.MenuBackground.get(), 1);
        SetFrames(m_.Scrollbar.get(), 23);
        SetFrames(m_.HorzScroll.get(), 4);
        SetFrames(m_.VertScroll.get(), 4);
        SetFrames(m_.UpDownHorz.get(), 8);
        SetFrames(m_.UpDownVert.get(), 8);
        for (auto& thumb : m_.TrackBarThumbs) SetFrames(thumb.get(), 5);
        SetFrames(m_.HorzScrollThumb.get(), Int("HorzScrollThumb", "FrameCount", 3));
        SetFrames(m_.VertScrollThumb.get(), Int("VertScrollThumb", "FrameCount", 3));
        if (m_.Buttons.RadioFrameCount == 0) {
            m_.Buttons.RadioFrameCount = GlyphFrames(m_.Buttons.RadioBitmap);
        }
        if (m_.Buttons.CheckFrameCount == 0) {
            m_.Buttons.CheckFrameCount = GlyphFrames(m_.Buttons.CheckBitmap);
        }
        // Every painter divides by the frame count and adds margins: a skin that gives no or a
        // negative frame count is drawn as one frame rather than dividing by zero, and margins
        // stay in a range whose sums cannot overflow.
        for (TDataSkinObject* e : ElementsOf(m_)) {
            e->FrameCount = std::max(e->FrameCount, 1);
            for (int* margin : {&e->LeftMargin, &e->TopMargin, &e->RightMargin, &e->BottomMargin}) {
                *margin = std::clamp(*margin, 0, kMaxMargin);
            }
        }
        m_.Buttons.RadioFrameCount = std::max(m_.Buttons.RadioFrameCount, 1);
        m_.Buttons.CheckFrameCount = std::max(m_.Buttons.CheckFrameCount, 1);
    }

    // The combo box as one image: per SunkEdge frame, the sunken edge with the combo button (and
    // its glyph) over the right end and a transparent inside. The edits keep SunkEdge's own image.
    void ComposeCombo() {
        TDataSkinBorder* button = m_.ComboButton.get();
        const TDataSkinObject* sunk = m_.SunkEdge.get();
        if (button && sunk) {
            const int frames = sunk->FrameCount;
            const int buttonArea = kScrollBarWidth + 2;
            QImage strip(kComboCellWidth * frames, kComboCellHeight, QImage::Format_RGB32);
            strip.fill(ColorToQColor(clFuchsia));
            {
                QPainter painter(&strip);
                for (int i = 0; i < frames; ++i) {
                    const int x = i * kComboCellWidth;
                    DrawElement(painter, QRect(x, 0, kComboCellWidth, kComboCellHeight), *sunk,
                                i + 1);
                    const QRect buttonRect(x + kComboCellWidth - buttonArea, 0, buttonArea,
                                           kComboCellHeight);
                    DrawElement(painter, buttonRect, *button, i + 1);
                    if (const TDataSkinObject* glyphs = m_.ExtraImages.get()) {
                        const QRect cell = FrameCell(*glyphs, i + 1, FrameAxis::SideBySide);
                        QImage glyph = glyphs->Bitmap.copy(cell);
                        if (glyphs->Trans != 0) glyph = MagentaTransparent(glyph);
                        const QRect placed(QPoint(), cell.size());
                        painter.drawImage(placed.translated(buttonRect.center() - placed.center()),
                                          glyph);
                    }
                    painter.fillRect(QRect(QPoint(x + 2, 2), QPoint(x + 48 - kScrollBarWidth, 17)),
                                     ColorToQColor(clFuchsia));
                }
            }
            button->Bitmap = strip;
            button->FrameCount = frames;
            button->Style = 2;
            button->LeftMargin = 2;
            button->TopMargin = sunk->TopMargin;
            button->RightMargin = kScrollBarWidth + 2;
            button->BottomMargin = sunk->BottomMargin;
        }
        MakeComboArrow();
    }

    void MakeComboArrow() {
        const TDataSkinBorder* button = m_.ComboButton.get();
        if (!button) return;
        auto arrow = std::make_unique<TDataSkinObject>();
        arrow->Name = QStringLiteral("ComboxArrow");
        arrow->Trans = button->Trans;
        if (m_.SunkEdge && button->Style == 2) {
            const int frames = button->FrameCount;
            arrow->Bitmap = QImage(kComboArrowSize * frames, kComboArrowSize, QImage::Format_RGB32);
            QPainter painter(&arrow->Bitmap);
            for (int i = 1; i <= frames; ++i) {
                painter.drawImage(QPoint(kComboArrowSize * (i - 1), 0), button->Bitmap,
                                  QRect(kComboCellWidth * i - 2 - kComboArrowSize, 2,
                                        kComboArrowSize, kComboArrowSize));
            }
            arrow->FrameCount = frames;
        } else {
            arrow->Bitmap = TowardsColour(button->Bitmap, m_.Colours.ButtonFace);
            arrow->FrameCount = button->FrameCount;
        }
        m_.ComboArrow = std::move(arrow);
    }

    // The image with every pixel but the transparent magenta mixed half-way into colour.
    static QImage TowardsColour(const QImage& image, TColor colour) {
        QImage out = image.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < out.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < out.width(); ++x) {
                const QColor pixel(line[x]);
                if ((line[x] & 0xFFFFFFu) == 0xFF00FFu) continue;
                line[x] = ColorToQColor(Blend(FromQColor(pixel), colour, 50)).rgb();
            }
        }
        return out;
    }

    static TColor FrameColourOf(const TDataSkinObject& top, TColor fallback) {
        const QImage& image = top.Bitmap;
        const int frameHeight = image.height() / std::max(top.FrameCount, 1);
        if (image.isNull() || frameHeight <= 0) return fallback;
        return FromQColor(QColor(image.pixel(image.width() / 3, frameHeight / 3)));
    }

    // 0 to 255; dark colours (every channel below 160) count as saturated.
    static int Saturation(TColor colour) {
        const QColor c = ColorToQColor(colour);
        const int high = std::max({c.red(), c.green(), c.blue()});
        const int low = std::min({c.red(), c.green(), c.blue()});
        if (high < 160) return 200;
        return (high - low) * 255 / high;
    }

    void MakeToolbarBackground() {
        const TColor frame = m_.FrameColour;
        TColor bottom = Blend(0x808080, frame, 150);
        const TColor top = Blend(m_.Colours.ButtonFace, clWhite, 150);
        const int saturation = Saturation(frame);
        if (saturation > 110) bottom = Blend(frame, clWhite, (5625 - saturation * 25) / 140 + 50);
        auto toolbar = std::make_unique<TDataSkinObject>();
        toolbar->Name = QStringLiteral("Toolbar");
        toolbar->FrameCount = 1;
        toolbar->Bitmap = QImage(10, 40, QImage::Format_RGB32);
        TGradientCache gradients;
        const QList<QRgb> rows = gradients.Gradient(40, top, bottom);
        for (int y = 0; y < 40; ++y) {
            auto* line = reinterpret_cast<QRgb*>(toolbar->Bitmap.scanLine(y));
            std::fill(line, line + 10, rows[y]);
        }
        m_.Toolbar = std::move(toolbar);
    }

    const TQuickIni& ini_;
    const TSkinReader& reader_;
    TSkinModel& m_;
};

}  // namespace

std::vector<const TDataSkinObject*> TSkinModel::Elements() const {
    return ElementsOf(*this);
}

std::unique_ptr<TSkinModel> ReadSkinDefinition(const TQuickIni& ini, const TSkinReader& reader) {
    auto model = std::make_unique<TSkinModel>();
    DefinitionReader(ini, reader, *model).Read();
    return model;
}

QImage ProgramBitmap(std::string_view name) {
    const QString path = QStringLiteral(":/vardo/skin/") +
                         QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())) +
                         QStringLiteral(".bmp");
    QImage image(path, "BMP");
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace vardo
