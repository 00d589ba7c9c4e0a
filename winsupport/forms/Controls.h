#pragma once
// Thin wrappers over the controls of a dialog template, bound by control id when the form
// loads. Each remembers the value it last knew, so that Change and Click fire exactly once
// when the value really changes, whether the user or the program changed it.
#include "winsupport/forms/CheckBox.h"
#include "winsupport/forms/ComboBox.h"
#include "winsupport/forms/CommandButton.h"
#include "winsupport/forms/Control.h"
#include "winsupport/forms/Image.h"
#include "winsupport/forms/Label.h"
#include "winsupport/forms/ListBox.h"
#include "winsupport/forms/MenuItem.h"
#include "winsupport/forms/OptionButton.h"
#include "winsupport/forms/PictureBox.h"
#include "winsupport/forms/TextBox.h"
