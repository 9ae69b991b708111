#include "actions/actions.h"

#include "exec/commands.h"
#include "exec/process.h"
#include "frame/window_layer.h"

namespace zandrel {

void RunAction(ActionId action) {
    switch (action) {
    case ActionId::None:
    case ActionId::DoNothing: return;
    case ActionId::RebootRecovery: return RebootToRecovery();
    case ActionId::RebootBootloader: return RebootToBootloader();
    case ActionId::Reboot: return Reboot();
    case ActionId::PowerOff: return PowerOff();
    case ActionId::QueryModel: return QueryModel();
    case ActionId::QueryResolution: return QueryResolution();
    case ActionId::QueryDensity: return QueryDensity();
    case ActionId::QueryRelease: return QueryRelease();
    case ActionId::OpenDonation: return OpenDonationWindow();
    case ActionId::OpenUnlockCode: return OpenUnlockCodeWindow();
    case ActionId::SendUnlockCode: return SendUnlockCode();
    case ActionId::ConfirmRecovery: return ConfirmAndOpenRecoveryWindow();
    case ActionId::ChooseRecoveryImage: return ChooseRecoveryImage();
    case ActionId::FlashRecoveryImage: return FlashRecoveryImage();
    }
}

// Each power button makes one hidden, unwaited adb start and shows nothing, whatever the outcome.
void RebootToRecovery() { RunCommandLine(commands::kRebootRecovery, false, Hidden); }
void RebootToBootloader() { RunCommandLine(commands::kRebootBootloader, false, Hidden); }
void Reboot() { RunCommandLine(commands::kReboot, false, Hidden); }
void PowerOff() { RunCommandLine(commands::kPowerOff, false, Hidden); }

void OpenDonationWindow() { LoadWindow(WindowId::Donation, true); }

}  // namespace zandrel
