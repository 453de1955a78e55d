/* How the program and lumaconv link the plug-in for their JPG, PIC and KQP
   entries. */
#ifndef KOJPEG_LINK_H
#define KOJPEG_LINK_H

#ifdef __cplusplus
extern "C" {
#endif

/* Fills the three codec slots (before the catalogue is registered): the
   loader FOR_LoadJPG and, for level -1, the writer FOR_SaveJPG with its
   sheet; for a level 0..19 a writer that saves at that quality without
   any sheet (the command-line tools). */
void kojpeg_install_slots(int level);
/* Changes the fixed level of the tools' writer (0..19). */
void kojpeg_set_save_level(int level);

#ifdef __cplusplus
}
#endif

#endif
