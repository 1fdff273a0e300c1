// The number of windows this thread owns, child windows included: the USER
// objects a test can count under Wine, where GetGuiResources always gives 0.
#pragma once

int WindowCount();
