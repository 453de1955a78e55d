// Linked into the program itself: fills the JPG, PIC and KQP codec slots
// with the plug-in's FOR_LoadJPG and FOR_SaveJPG before the catalogue is
// registered (static initialisation runs before WinMain).
#include "kojpeg_link.h"

namespace {
struct InstallJpegSlots {
    InstallJpegSlots() { kojpeg_install_slots(-1); }
} installJpegSlots;
}  // namespace
