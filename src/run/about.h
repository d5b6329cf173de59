#pragma once
// What the program says about itself: where its guide is installed.
// (--version's text, versionText(), is declared with the command line.)

#include <string>

namespace eco {

// The installed guide beside the program: DIR/docs/guide.md (the unpacked
// Windows archive) or PREFIX/share/doc/ecoassess/guide.md (an installed
// program, the Linux archive and package), as an absolute name; "docs/guide.md"
// of the source when there is neither.
std::string guideLocation();
// Same, given the program's own file name (for tests).
std::string guideLocationFor(const std::string& executable);

}  // namespace eco
