//=============================================================================
// Dispatcher: Fires up to eight events one after another, with delays.
//=============================================================================
class Dispatcher expands Triggers;

defaultproperties
{
}
