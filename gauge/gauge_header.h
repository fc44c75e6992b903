// The one gauge this module contributes.
#pragma once
#include "host/gauge_header_record.h"

extern gauge_header_record gauge_header;
