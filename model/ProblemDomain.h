#pragma once

// The configuration model: the image, the description records and the aggregate.
#include "model/Bcd.h"
#include "model/Cp1250.h"
#include "model/ERangeError.h"
#include "model/ImageChecksum.h"
#include "model/TCfg.h"
#include "model/TComment.h"
#include "model/TZorvexSettings.h"
