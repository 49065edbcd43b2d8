// A late-bound client of the registered library, run by the system's script host: it
// creates the object by each ProgID and calls it through IDispatch alone (a raised
// error ends the script without the line of success).
var failures = 0;
function check(what, actual, expected) {
    if (actual !== expected) {
        WScript.Echo("FAILED: " + what + ": got [" + actual + "], expected [" + expected + "]");
        failures++;
    }
}
var progIds = ["QnShowCOCATIDs.CCAPEGUI11", "QnShowCOCATIDs.CCAPEGUI11.1"];
for (var i = 0; i < progIds.length; i++) {
    var gui = new ActiveXObject(progIds[i]);
    check(progIds[i] + " fresh name", gui.getFullCOPPClassName(),
          "<no Property Package name available>(Standalone)");
    gui.compCOversion = 110;
    gui.setAlias("MyPackage", "Manager Alias");
    check(progIds[i] + " put and read", gui.compCOversion + " " + gui.GetParentAlias() + " " +
          gui.getFullCOPPClassName(), "110 Manager Alias MyPackage(Standalone)");
    gui.releaseComponents();
}
WScript.Echo(failures == 0 ? "late-bound client: all checks passed" : failures + " checks failed");
WScript.Quit(failures == 0 ? 0 : 1);
