// A late-bound client of the registered library, run by the system's script host:
// creates the object by each ProgID and calls it through IDispatch only.
// Exit code 0 when every check holds; each failure is printed.
var failures = 0;

function check(what, actual, expected) {
    if (actual !== expected) {
        WScript.Echo("FAILED: " + what + ": got [" + actual + "], expected [" + expected + "]");
        failures++;
    }
}

function exercise(progId) {
    var gui = new ActiveXObject(progId);

    // Defaults of a fresh object (a null BSTR reads as an empty string here).
    check(progId + " GetItemProgID", gui.GetItemProgID(), "");
    check(progId + " GetCATID", gui.GetCATID(), "");
    check(progId + " compCOversion", gui.compCOversion, 0);
    check(progId + " getFullCOPPClassName", gui.getFullCOPPClassName(),
          "<no Property Package name available>(Standalone)");

    // Properties put and read back.
    gui.compCOversion = 110;
    check(progId + " compCOversion after put", gui.compCOversion, 110);
    gui.serverName = "remote-box";
    check(progId + " serverName after put", gui.serverName, "remote-box");
    gui.enableWarnings = false;

    // Aliases and the display name built from them.
    gui.setAlias("MyPackage", "Manager Alias");
    check(progId + " GetItemAlias", gui.GetItemAlias(), "MyPackage");
    check(progId + " GetParentAlias", gui.GetParentAlias(), "Manager Alias");
    check(progId + " getFullCOPPClassName with alias", gui.getFullCOPPClassName(), "MyPackage(Standalone)");

    gui.releaseComponents();
}

try {
    exercise("QnShowCOCATIDs.CCAPEGUI11");
    exercise("QnShowCOCATIDs.CCAPEGUI11.1");
} catch (e) {
    WScript.Echo("FAILED: raised " + (e.number >>> 0).toString(16) + " " + e.description);
    failures++;
}
if (failures == 0)
    WScript.Echo("late-bound client: all checks passed");
WScript.Quit(failures == 0 ? 0 : 1);
