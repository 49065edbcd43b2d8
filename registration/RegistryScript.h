#pragma once
#include <windows.h>
#include <string>
#include <string_view>
#include <vector>

// A small registrar for registration scripts in the platform registrar's language:
//
//   HKCR                                  root: HKCR, HKCU, HKLM, HKU or their long names
//   {
//       NoRemove CLSID                    never deleted when unregistering
//       {
//           ForceRemove {clsid} = s 'Name'    deleted with its whole subtree, then written anew
//           {
//               InprocServer32 = s '%MODULE%'
//               {
//                   val ThreadingModel = s 'Apartment'    a named string value
//               }
//           }
//       }
//   }
//
// Tokens are separated by white space; a quoted token is enclosed in single quotes,
// with '' for a quote inside. "%NAME%" is replaced, before parsing, by the value the
// caller gives for NAME; "%%" is a percent sign. Every value is a string ('s').
// Keywords compare without regard to letter case.
//
// The whole script is parsed before the registry is touched: a script with an error
// writes nothing and fails with kScriptSyntaxError.

enum class ScriptMode {
    Register,    // create keys, write default and named values
    Unregister,  // delete the named values, then each key that has no subkey left,
                 // innermost first; NoRemove keys stay
};

struct ScriptReplacement {
    std::wstring name;   // without the percent signs
    std::wstring value;  // inserted as it is
};

inline const HRESULT kScriptSyntaxError = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);

// Runs the script; the first failure ends the run and is returned (what was written
// before it stays). Registry failures are HRESULTs of the system error code.
HRESULT runRegistryScript(std::wstring_view script, const std::vector<ScriptReplacement>& replacements,
                          ScriptMode mode);

// The value of %MODULE% for a module path: the path with each single quote doubled,
// as the script puts it between quotes.
std::wstring moduleReplacementValue(std::wstring_view modulePath);
