#pragma once
#include "image/Ok.h"
