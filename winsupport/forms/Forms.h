#pragma once
// The forms layer: forms from dialog templates, control wrappers, the message loop.
#include "winsupport/forms/Controls.h"
#include "winsupport/forms/Form.h"
