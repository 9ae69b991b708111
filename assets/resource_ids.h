// Resource numbers of zandrel.rc, shared by the resource script and the code that loads them.
#pragma once

#define ZANDREL_ICON 1
#define ZANDREL_PNG_DONATE_QQ 101
#define ZANDREL_PNG_DONATE_WECHAT 102

#ifdef __cplusplus
#include "frame/window_definition.h"
namespace zandrel {
// The RCDATA resource holding a picture's PNG bytes, or 0 for none.
constexpr int PictureResource(PictureId id) {
    return id == PictureId::DonateQq ? ZANDREL_PNG_DONATE_QQ : id == PictureId::DonateWeChat ? ZANDREL_PNG_DONATE_WECHAT : 0;
}
}  // namespace zandrel
#endif
