#pragma once
// The system's variants of the standard controls under the standard names;
// windows and frames include this one header.

#include "TCheckBox.h"
#include "TDateTimePicker.h"
#include "TEdit.h"
#include "TForm.h"
#include "TFrame.h"
#include "TLabel.h"
#include "TRadioButton.h"
#include "TScrollBox.h"
#include "uEwidarComponents_Panel.h"
