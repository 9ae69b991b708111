// The four windows of Zandrel as data: one row per control, in stored order (the order of creation).
#include <cstring>

#include "frame/window_definition.h"

namespace zandrel {

StoredFont YaheiLight(std::int32_t lfHeight) {
    StoredFont f;
    f.height = lfHeight;
    f.weight = 290;
    const char face[] = "微软雅黑 Light";
    static_assert(sizeof(face) <= sizeof(f.faceName));
    std::memcpy(f.faceName.data(), face, sizeof(face));
    return f;
}

StoredFont FontForCreation(const StoredFont& stored) {
    StoredFont f = stored;
    f.charSet = 1;         // DEFAULT_CHARSET
    f.outPrecision = 0;    // OUT_DEFAULT_PRECIS
    f.clipPrecision = 0;   // CLIP_DEFAULT_PRECIS
    f.quality = 2;         // PROOF_QUALITY
    f.pitchAndFamily = 0;  // DEFAULT_PITCH
    return f;
}

namespace {

ControlDefinition Label(std::string_view name, int l, int t, int w, int h, std::string_view caption,
                        int lfHeight, Align vertical, bool wordWrap = true) {
    ControlDefinition c{ControlKind::Label, name, l, t, w, h};
    c.caption = caption;
    c.hasFont = true;
    c.font = YaheiLight(lfHeight);
    c.label.vertical = vertical;
    c.label.wordWrap = wordWrap;
    return c;
}

ControlDefinition Button(std::string_view name, int l, int t, int w, int h, std::string_view caption,
                         int lfHeight, ActionId click) {
    ControlDefinition c{ControlKind::PushButton, name, l, t, w, h};
    c.tabStop = true;
    c.click = click;
    c.caption = caption;
    c.hasFont = true;
    c.font = YaheiLight(lfHeight);
    return c;
}

ControlDefinition Picture(std::string_view name, int l, int t, int w, int h, PictureId picture) {
    ControlDefinition c{ControlKind::PictureBox, name, l, t, w, h};
    c.picture.picture = picture;
    return c;
}

const ControlDefinition kMainControls[] = {
    Label("标签3", 32, 0, 344, 16, "如果功能无法使用,请打开USB调试然后重新连接手机在重试一遍!", -12, Align::Near),
    Button("按钮11", 8, 160, 248, 40, "刷入Recovery", -19, ActionId::ConfirmRecovery),
    Button("按钮10", 272, 176, 120, 40, "捐助 (哪怕是1分也行啊！)", -14, ActionId::OpenDonation),
    Label("标签2", 264, 224, 128, 32, "如果读不出来请等待几秒再重新点一次！", -12, Align::Near),
    Button("按钮9", 272, 136, 120, 40, "查看Android系统版本", -14, ActionId::QueryRelease),
    Button("按钮8", 272, 96, 120, 40, "查看当前手机屏幕密度", -14, ActionId::QueryDensity),
    Button("按钮7", 272, 56, 120, 40, "查看当前手机屏幕分辨率", -14, ActionId::QueryResolution),
    Button("按钮6", 272, 16, 120, 40, "查看设备型号", -14, ActionId::QueryModel),
    Label("标签1", 8, 216, 248, 48, "声明:刷机有风险，没技术的不要尝试刷机，如果手机成砖，本人概不负责！", -14, Align::Centre),
    Button("按钮5", 8, 112, 248, 40, "解锁华为手机", -19, ActionId::OpenUnlockCode),
    Button("按钮4", 136, 64, 120, 40, "关机", -20, ActionId::PowerOff),
    Button("按钮3", 8, 64, 120, 40, "重启", -19, ActionId::Reboot),
    Button("按钮2", 136, 16, 120, 40, "重启到FastBoot", -14, ActionId::RebootBootloader),
    Button("按钮1", 8, 16, 120, 40, "重启到Recovery", -15, ActionId::RebootRecovery),
};

ControlDefinition UnlockCodeBox() {
    ControlDefinition c{ControlKind::EditBox, "编辑框1", 8, 8, 280, 24};
    c.tabStop = true;  // no stored font: DEFAULT_GUI_FONT
    c.edit.maxLength = 16;
    c.edit.inputMode = InputMode::DigitsAndMinus;
    return c;
}

const ControlDefinition kUnlockCodeControls[] = {
    Label("标签1", 8, 32, 320, 64,
          "(华为在2018年5月24日关闭了申请解锁码服务，如果你还没有解锁码,请百度绕开华为通道，没有解锁码的请自己用特殊方法获取",
          -14, Align::Centre),
    Button("按钮1", 288, 8, 40, 24, "确定", -14, ActionId::SendUnlockCode),
    UnlockCodeBox(),
};

const ControlDefinition kDonationControls[] = {
    Picture("图片框2", 240, 72, 120, 120, PictureId::DonateWeChat),
    Picture("图片框1", 8, 72, 120, 120, PictureId::DonateQq),
    Label("标签1", 16, 8, 344, 56, "QQ        微信", -56, Align::Centre, /*wordWrap=*/false),
};

ControlDefinition RecoveryImageDialog() {
    ControlDefinition c{ControlKind::OpenFileDialog, "通用对话框1", 24, 24, 26, 26};
    c.visible = false;
    c.dialog.filter = "img文件|*.img";
    return c;
}

ControlDefinition RecoveryPathBox() {
    ControlDefinition c{ControlKind::EditBox, "编辑框1", 8, 72, 360, 16};
    c.tabStop = true;
    c.hasFont = true;
    c.font = YaheiLight(-12);
    return c;
}

const ControlDefinition kRecoveryControls[] = {
    Button("按钮4", 136, 96, 104, 32, "刷入", -20, ActionId::FlashRecoveryImage),
    RecoveryImageDialog(),
    RecoveryPathBox(),
    Button("按钮11", 8, 16, 360, 48, "选择Recovery文件", -32, ActionId::ChooseRecoveryImage),
};

const WindowDefinition kWindows[kWindowCount] = {
    {"Zandrel By Quivon", 50, 50, 404, 290, SystemFaceColour, ActionId::DoNothing, kMainControls},
    {"请输入16位解锁码:", 50, 50, 340, 129, SystemFaceColour, ActionId::DoNothing, kUnlockCodeControls},
    {"", 50, 50, 380, 250, SystemFaceColour, ActionId::None, kDonationControls},
    {"", 50, 50, 380, 164, SystemFaceColour, ActionId::None, kRecoveryControls},
};

}  // namespace

const WindowDefinition& Definition(WindowId id) { return kWindows[static_cast<int>(id)]; }

const ControlDefinition* FindControl(WindowId id, std::string_view name, int* index) {
    const auto controls = Definition(id).controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].name == name) {
            if (index) *index = static_cast<int>(i);
            return &controls[i];
        }
    }
    return nullptr;
}

}  // namespace zandrel
