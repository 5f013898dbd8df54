// The loadable module's own translation unit. The entry points, the
// registration table and everything they reach come from the plug-in
// library, linked in whole; on Windows the SDK's MFnPlugin.h supplies the
// DLL entry routine.
