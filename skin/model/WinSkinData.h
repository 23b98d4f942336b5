#pragma once

#include "SkinColours.h"
#include "SkinDrawing.h"
#include "SkinElements.h"
#include "SkinModel.h"

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>

class QIODevice;

namespace vardo {

class TSkinManage;

// A set of enumeration values (up to 32), as the component's set properties hold them.
template <typename E>
class EnumSet {
  public:
    constexpr EnumSet() = default;
    constexpr EnumSet(std::initializer_list<E> values) {
        for (E value : values) Include(value);
    }
    constexpr bool Contains(E value) const { return (bits_ >> static_cast<int>(value)) & 1u; }
    constexpr void Include(E value) { bits_ |= 1u << static_cast<int>(value); }
    constexpr void Exclude(E value) { bits_ &= ~(1u << static_cast<int>(value)); }
    constexpr bool operator==(const EnumSet&) const = default;

  private:
    std::uint32_t bits_ = 0;
};

// The kinds of control that can be skinned, in order.
enum TSkinControlType {
    xcMainMenu,
    xcPopupMenu,
    xcMenuItem,
    xcToolbar,
    xcControlbar,
    xcCombo,
    xcCheckBox,
    xcRadioButton,
    xcProgress,
    xcScrollbar,
    xcEdit,
    xcButton,
    xcBitBtn,
    xcSpeedButton,
    xcSpin,
    xcPanel,
    xcGroupBox,
    xcStatusBar,
    xcTab,
    xcTrackBar,
    xcSystemMenu,
    xcFastReport,
};
using TSkinControls = EnumSet<TSkinControlType>;

enum TSkinOption {
    xoMDIScrollbar,
    xoMenuMerge,
    xoTransparent,
    xoPreview,  // windows whose class name contains "preview" are skinned too
    xoParentBackGround,
    xoNoFocusRect,
    xoToolbarBK,
    xoMDIChildBorder,  // MDI children keep their own borders
    xoMenuBG,
    xoFormScrollbar,
};
using TSkinOptions = EnumSet<TSkinOption>;

// The scope of a skin component.
enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

// Every kind from xcMainMenu to xcSystemMenu except xcMenuItem.
TSkinControls DefaultSkinControls();

// The built-in Skin3rd list: "class name=kind" lines for widget classes the skinners do not know
// by their own class.
QStringList DefaultSkin3rd();

// The skin component: holds the skin image (the bytes of the current skin file), reads it into a
// skin model, and switches skinning through the process's skin manager. An application puts one
// on its main window (sfMainform), sets its properties, calls Loaded(), and from then on switches
// it with SetSkinFile and SetActive.
//
// A skin that fails to load (no such file, a damaged or foreign file, no definition in it) leaves
// the skin the component had, ready or not as it was, and LoadError() says why.
class TSkinData : public QObject {
    Q_OBJECT

  public:
    // owner is the form the component belongs to (for sfOnlyThisForm, the form it skins).
    // manager is the process's skin manager unless a test gives its own.
    explicit TSkinData(QObject* owner = nullptr, TSkinManage* manager = nullptr);
    ~TSkinData() override;

    // Ends the setting up: registers with the manager and, when Active is set, switches skinning
    // on (a component without a ready skin clears Active instead). Until then, SetActive only
    // stores its value and SetSkinFile loads without telling the manager.
    void Loaded();

    bool Active() const { return active_; }
    // Switches skinning on or off through the manager (command 1 or 2 after 250 ms; before the
    // manager has started, only its switch). Switching on without a ready skin is refused and
    // Active stays false.
    void SetActive(bool active);

    const QString& SkinFile() const { return skinFile_; }
    // Loads the skin file; on success the manager reloads it on the skinned windows (command 3).
    void SetSkinFile(const QString& path);

    // Runs the skin load on the skin image; false (and LoadError()) when it cannot be read. The
    // model is replaced only by a load that succeeds.
    bool LoadSkin();

    // The streamed skin image: a signed 32-bit little-endian length and that many bytes. Reading a
    // positive length replaces the image and loads it.
    void WriteSkinStream(QIODevice& device) const;
    bool ReadSkinStream(QIODevice& device);
    const QByteArray& SkinImage() const { return skinImage_; }

    // True once a skin has been read completely.
    bool SkinReady() const { return ready_; }
    // Why the last load failed, on one line or more (a refused file: the system's text, its two
    // clauses on two lines, then what is wrong with the file); empty after a successful one.
    const QString& LoadError() const { return loadError_; }
    // The skin model; its elements stay valid until the next successful load.
    const TSkinModel& Model() const { return *model_; }
    // Counts the models: each successful load gives a higher number. Tells a new model from the
    // one it replaced where their addresses cannot (the new one may take the freed one's place).
    quint64 ModelGeneration() const { return modelGeneration_; }

    int DisableTag = 99;
    TSkinControls SkinControls = DefaultSkinControls();
    TSkinOptions Options{xoPreview, xoToolbarBK};
    QStringList Skin3rd = DefaultSkin3rd();
    TSkinFormType SkinFormtype = sfMainform;
    bool MenuUpdate = true;
    bool MenuMerge = false;

    // Asked for each top-level window before it is skinned (its class name).
    std::function<void(const QString& name, bool& doSkin)> OnFormSkin;
    // Fired after each activation command has been carried out.
    std::function<void()> OnSkinChanged;
    // Around the skinning of a window (the window, its class name).
    std::function<void(QObject* window, const QString& name)> OnBeforeSkinForm;
    std::function<void(QObject* window, const QString& name)> OnAfterSkinForm;
    // Lets the application supply its own skinner for a control: set skinnedControl to it.
    std::function<void(TSkinData* skinData, QObject* form, QObject* control,
                       const QString& controlClass, QObject*& skinnedControl)>
        OnSkinControl;

    // Made at Loaded: the application's small icon on magenta (16 x 16), the caption font, the
    // menu glyphs (16 x 16 cells, white transparent) and the primary screen's maximised size.
    const QImage& IconBitmap() const { return iconBitmap_; }
    const QFont& CaptionFont() const { return captionFont_; }
    const QImage& MenuGlyphs() const { return menuGlyphs_; }
    QSize MaximisedSize() const { return maximisedSize_; }

    // Gradients for the painters, from the component's cache of the last 16 (see SkinColours.h).
    QList<QRgb> Gradient(int n, TColor a, TColor b) { return gradients_.Gradient(n, a, b); }

    TSkinManage& Manager() const { return *manager_; }

  private:
    bool LoadSkinImage(const QByteArray& image);
    void SendCommand(int kind);
    void MakeIconBitmap();

    TSkinManage* manager_;
    bool loading_ = true;  // set up not ended yet (Loaded not called)
    bool active_ = false;
    bool ready_ = false;
    QString skinFile_;
    QByteArray skinImage_;
    QString loadError_;
    std::unique_ptr<TSkinModel> model_;
    quint64 modelGeneration_ = 1;
    TGradientCache gradients_;
    QImage iconBitmap_;
    QFont captionFont_;
    QImage menuGlyphs_;
    QSize maximisedSize_;
};

}  // namespace vardo
