// The click actions of the phone operations. Each runs to its end on the UI thread; none looks at
// a tool's exit code.
#pragma once

#include "frame/window_definition.h"

namespace zandrel {

// Runs the action bound in a definition table (None and DoNothing do nothing).
void RunAction(ActionId action);

// Power buttons: one hidden adb start each.
void RebootToRecovery();
void RebootToBootloader();
void Reboot();
void PowerOff();

// Device queries: the phone's answer captured through a batch file and shown in a box.
void QueryModel();
void QueryResolution();
void QueryDensity();
void QueryRelease();

// Bootloader unlock.
void OpenUnlockCodeWindow();
void SendUnlockCode();

// Recovery flashing.
void ConfirmAndOpenRecoveryWindow();
void ChooseRecoveryImage();
void FlashRecoveryImage();

// Donation.
void OpenDonationWindow();

}  // namespace zandrel
