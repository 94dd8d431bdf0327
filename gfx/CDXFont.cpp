#include "gfx/CDXFont.h"

CDXFont::CDXFont() = default;

CDXFont::~CDXFont() = default;
