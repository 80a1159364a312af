#pragma once

namespace Tunewell {

// The maker's web and e-mail addresses, shown by the about and profile windows.
inline constexpr const char *kMakerSite = "https://tunewell.example.org";
inline constexpr const char *kMakerMail = "contato@tunewell.example.org";

} // namespace Tunewell
