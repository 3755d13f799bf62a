#pragma once

// The version of this build, as git names its source tree ("559d603", "v1.0-3-g559d603-dirty"),
// or "unknown" outside a git checkout. Recorded sessions carry it.
extern const char* const kProgramVersion;
