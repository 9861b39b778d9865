#pragma once

#define IDI_TINTWISE 1
