// A late-bound client of the registered library, run by the system's script host: it
// creates the object by its ProgID and calls it through IDispatch alone (a raised
// error ends the script without the line of success). The keys of both ProgIDs are
// the registration test's.
var failures = 0;
function check(what, actual, expected) {
    if (actual !== expected) {
        WScript.Echo("FAILED: " + what + ": got [" + actual + "], expected [" + expected + "]");
        failures++;
    }
}
var gui = new ActiveXObject("QnShowCOCATIDs.CCAPEGUI11");
check("fresh name", gui.getFullCOPPClassName(), "<no Property Package name available>(Standalone)");
gui.compCOversion = 110;
gui.setAlias("MyPackage", "Manager Alias");
check("put and read", gui.compCOversion + " " + gui.GetParentAlias() + " " + gui.getFullCOPPClassName(),
      "110 Manager Alias MyPackage(Standalone)");
gui.releaseComponents();
WScript.Echo(failures == 0 ? "late-bound client: all checks passed" : failures + " checks failed");
WScript.Quit(failures == 0 ? 0 : 1);
