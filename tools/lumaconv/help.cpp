#include "lumaconv.h"

static const char HELP[] =
    "usage: lumaconv COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  formats                 list the format catalogue\n"
    "  info FILE               load FILE and print its load information\n"
    "  convert IN OUT [OPTIONS]\n"
    "                          convert one file; the output format comes from\n"
    "                          OUT's extension\n"
    "  batch INDIR OUTDIR --to EXT [OPTIONS]\n"
    "                          convert every loadable file of INDIR into OUTDIR;\n"
    "                          one line per file, then a summary\n"
#ifdef LC_HAVE_STYLE
    "  filters                 list the stylize filters: number, name, kind,\n"
    "                          the sliders with their defaults\n"
#endif
    "\n"
    "Options of convert and batch:\n"
    "  --depth 1|4|8|16|24|32  bits per pixel of the output; without it the\n"
    "                          depth and color are what the save-options panel\n"
    "                          settles on for the output format, starting from\n"
    "                          the image's own\n"
    "  --gray | --color        gray or color output (default: as the image)\n"
    "  --compress              compressed output where the format offers it\n"
    "  --cut flat|optimized    color reduction (default: setting save_colorcut)\n"
    "  --dither METHOD         none, halftone, fast, fs, stucki, burkes, sierra,\n"
    "                          jjn, sa or fs-nosmall (default: settings\n"
    "                          save_dither and dither_type)\n"
    "  --set NAME=VALUE        change a setting for this run (repeatable);\n"
    "                          jpeg_level=0..19 sets the quality of JPG, PIC\n"
    "                          and KQP output (0 best, 19 smallest; default 10)\n"
    "  --icon-type CODE        ICO output type instead of the one matching the\n"
    "                          image: 17, 18, 20 monochrome, 33, 34, 36\n"
    "                          16-color, 65, 66, 68 256-color at 16, 32, 64\n"
    "                          pixels square\n"
    "  --icon-mask 0|1         ICO output of a 32-bit image: mask from the alpha\n"
    "                          channel (default 1)\n"
    "  --answer yes|no         answer to every question a message asks\n"
    "                          (default no); lumaconv never waits for input\n"
    "\n"
    "Image steps, applied to the loaded image in the order given, before the\n"
    "depth conversion for saving:\n";

static const char HELP_END[] =
    "\n"
    "Output of 'formats', one line per catalogue entry, fields separated by\n"
    "single tabs:\n"
    "  INDEX EXT LOAD SAVE CAPS CODE NAME\n"
    "  LOAD and SAVE are 'yes' when the format is listed for opening or saving,\n"
    "  else 'no'; CAPS are the six save-capability bytes for 1/4/8/16/24/32 bits\n"
    "  joined by '/'; CODE is the stable format code.\n"
    "\n"
    "Messages that the program would show in a box are written to standard\n"
    "error with their exact text.\n"
    "Exit status: 0 success, 1 failure, 2 usage error.\n";

void print_help(FILE *to) {
    fputs(HELP, to);
    steps_print_help(to);
    fputs(HELP_END, to);
}
