// Error numbers the business services of the 2.3 installation raise, in the components'
// range above the automation runtime's object error base.
#pragma once

namespace mv::business_errors {

inline constexpr long kObjectErrorBase = -2147221504;  // the runtime's vbObjectError
inline constexpr long kCurrencyNotFound = kObjectErrorBase + 1001;
inline constexpr long kUnknownLocale = kObjectErrorBase + 1002;
inline constexpr long kBusinessPartnerNotFound = kObjectErrorBase + 1003;

}  // namespace mv::business_errors
