#pragma once

#include <functional>
#include <string>

namespace plugkit {
class GraphicsEditorDelegate;
}
namespace plugkit::gfx {
class Graphics;
}

namespace quorvel {

inline constexpr const char* kManualFileName = "Quorvel_manual.pdf";
inline constexpr const char* kVendorWebAddress = "https://www.brackmooraudio.com";

// [main-thread] Looks for the manual beside the module, in its "installer" and "Resources"
// sub-folders, then likewise in each parent folder (six passes in all, the module's own
// folder twice). Returns its "file://" URL, or empty text when none is found.
std::string FindManualUrl(const std::string& modulePath);
// [main-thread] The same for the module whose instance the graphics context holds.
std::string FindManualUrl(const plugkit::gfx::Graphics& graphics);

// The URL of a manual found at `path` (made absolute, "." and ".." resolved, then as
// FileUrlForText).
std::string ManualUrlForPath(const std::string& path);
// The "file:" URL of an absolute path: "file:///" before a drive letter ("C:"), else
// "file://"; characters outside the URL path set, except this system's folder separator,
// percent-encoded.
std::string FileUrlForText(const std::string& text);

// [main-thread] The manual's URL, or the vendor's web address, handed to the platform to
// open; nothing without a graphics context.
void OpenManual(plugkit::gfx::Graphics* graphics);

// [main-thread] The hot-spot's action: opens the manual with the delegate's open editor.
std::function<void()> MakeManualAction(plugkit::GraphicsEditorDelegate& delegate);

}  // namespace quorvel
