// WindowDefinition and ControlDefinition: the fixed data from which the four windows and their
// controls are built. Nothing here calls Windows, so the tables can be checked natively; the window
// layer (window_layer_win.cpp) is the only code that turns a row into a real window.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace zandrel {

using Colour = std::uint32_t;  // a COLORREF: 0x00BBGGRR
// Stands for GetSysColor(COLOR_BTNFACE), read each time the colour is applied.
inline constexpr Colour SystemFaceColour = 0xFF000000;

enum class WindowId { Main, UnlockCode, Donation, Recovery };
inline constexpr int kWindowCount = 4;

// What a click (or a window's created event) runs; bound to functions in actions/.
enum class ActionId {
    None,
    DoNothing,  // a bound handler with an empty body (the created events)
    RebootRecovery, RebootBootloader, Reboot, PowerOff,
    QueryModel, QueryResolution, QueryDensity, QueryRelease,
    OpenDonation, OpenUnlockCode, SendUnlockCode,
    ConfirmRecovery, ChooseRecoveryImage, FlashRecoveryImage,
};

enum class ControlKind { Label, PushButton, EditBox, PictureBox, OpenFileDialog };

// The 60-byte LOGFONTA as stored with a control, member for member.
struct StoredFont {
    std::int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
    std::uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 0, outPrecision = 0,
                 clipPrecision = 0, quality = 0, pitchAndFamily = 0;
    std::array<char, 32> faceName{};
};
static_assert(sizeof(StoredFont) == 60, "a stored font is a LOGFONTA");

// Every stored font of the system: "微软雅黑 Light", weight 290, only the height differs.
StoredFont YaheiLight(std::int32_t lfHeight);

// The record CreateFontIndirectA gets: the stored one with charset, output and clip precision,
// quality and pitch replaced by DEFAULT_CHARSET, OUT_/CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH.
StoredFont FontForCreation(const StoredFont& stored);

enum class Align { Near = 0, Centre = 1, Far = 2 };

struct LabelSettings {
    Colour textColour = 0x000000;
    Colour backColour = SystemFaceColour;
    Align horizontal = Align::Near;
    Align vertical = Align::Near;
    bool wordWrap = true;
};

enum class InputMode { Any = 0, DigitsAndMinus = 3 };

struct EditSettings {
    Colour textColour = 0x000000;
    Colour backColour = 0xFFFFFF;
    int borderStyle = 5;  // a plain single-line border (WS_BORDER)
    bool hideSelection = true;
    int maxLength = 0;  // characters; 0: the control's own largest limit
    bool multiLine = false;
    InputMode inputMode = InputMode::Any;
};

enum class PictureId { None, DonateQq, DonateWeChat };

struct PictureSettings {
    PictureId picture = PictureId::None;
    int displayMode = 0;  // 0: natural size at the top-left corner
    Colour backColour = SystemFaceColour;
};

struct OpenFileDialogSettings {
    std::string_view title, fileName, filter;
    std::int32_t filterIndex = 0;
    std::string_view initialDirectory, defaultExtension;
    bool createPrompt = false, fileMustExist = true, overwritePrompt = true, pathMustExist = true,
         noChangeDirectory = false;
};

struct ControlDefinition {
    ControlKind kind;
    std::string_view name;
    int left, top, width, height;
    bool visible = true, disabled = false, tabStop = false;
    std::int32_t tabOrder = 0;
    ActionId click = ActionId::None;
    std::string_view caption = {};  // label and button caption, or the edit box's initial content
    bool hasFont = false;
    StoredFont font = {};
    LabelSettings label = {};
    EditSettings edit = {};
    PictureSettings picture = {};
    OpenFileDialogSettings dialog = {};
};

struct WindowDefinition {
    std::string_view caption;
    int storedLeft, storedTop;  // kept with the definition, never used for placement
    int width, height;          // outer size, frame and title bar included
    Colour background = SystemFaceColour;
    ActionId created = ActionId::None;
    std::span<const ControlDefinition> controls;
};

const WindowDefinition& Definition(WindowId id);

// The control of a window with this name, or nullptr; its index in stored order through *index.
const ControlDefinition* FindControl(WindowId id, std::string_view name, int* index = nullptr);

}  // namespace zandrel
