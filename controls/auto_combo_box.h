// CAutoComboBox: a combo box that completes typed text to the first matching
// entry, restores a default text when emptied and shows its whole text in a
// tool-tip when it is wider than the field. For now a plain combo box; the
// completion, default text and tool-tip behaviour come next.
#pragma once

#include "platform/ccombobox.h"

class CAutoComboBox : public CComboBox {};
