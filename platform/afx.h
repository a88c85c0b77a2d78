#pragma once
#include "platform/wintypes.h"
#include "platform/exceptions.h"
#include "platform/collections.h"
#include "platform/cstring.h"
#include "platform/ctime.h"
