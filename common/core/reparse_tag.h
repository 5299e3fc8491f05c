// Which reparse points the folder walks follow, by the tag the file system gives the folder.
#pragma once

#include <cstdint>

// True for a tag that sends a path elsewhere: a junction or a symbolic link (a name surrogate: bit 0x20000000
// of the tag), and the tag 0 that Wine gives a Unix symbolic link. Such a folder could lead back up the tree
// and make a walk endless, so it is never entered. Other reparse points are folders like any other to the
// user (OneDrive's files-on-demand folders, IO_REPARSE_TAG_CLOUD_*, hold Desktop and Documents on many
// machines) and are entered.
constexpr bool IsLinkReparseTag(std::uint32_t tag) { return tag == 0 || (tag & 0x20000000u) != 0; }
