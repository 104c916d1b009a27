#pragma once
// Resource identifiers shared by the resource script and the code; plain macros so that the
// resource compiler reads them too.
#define VAV_APP_ICON 1

#ifdef __cplusplus
namespace vav::ui {
constexpr int kAppIconId = VAV_APP_ICON;
}  // namespace vav::ui
#endif
