#pragma once

#include "ComHandles.h"
#include "automation/Variant.h"

#include <string>

// The automation layer's values to and from COM VARIANTs. Failures name the
// member whose argument or result could not be converted.
namespace com {

// Texts become BSTRs, text arrays a SAFEARRAY of BSTR, dates VT_DATE, objects
// VT_DISPATCH (only objects that came from COM can be passed back to it).
VariantValue toVariant(const automation::Variant &value, const std::string &member);

// By-reference values are read through; a null object reads as empty. Numbers
// and other kinds the layer has no place for are read as their text.
automation::Variant fromVariant(const VARIANT &value, const std::string &member);

} // namespace com
