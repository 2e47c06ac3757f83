#pragma once

// libwmf draws text, and even starts a picture, only with fonts it can find under the names of the
// thirteen standard PostScript fonts; by default it looks in one folder of Type 1 fonts that many
// systems lack, and then refuses every WMF. This hands it, for each of those names, the font file
// that fontconfig picks for it on this system.

// libwmf's headers define macros (U8, U16, ...) that break Qt's, so they are included only in
// source files, after Qt's headers.
typedef struct _wmfAPI_Options wmfAPI_Options;

// Adds the font files to options (and the flags that make libwmf read them).
void addWmfFonts(wmfAPI_Options* options, unsigned long* flags);
