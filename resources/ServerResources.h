// Resource ids of the COM server, shared by the resource script and the code.
#pragma once

// The registration script (resource type "REGISTRY").
#define IDR_CCAPEGUI 103
// The type library (resource type "TYPELIB"); the system loads id 1 by default.
#define IDR_TYPELIB 1
