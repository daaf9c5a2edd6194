//=============================================================================
// Counter: Fires its Event after being triggered NumToCount times.
//=============================================================================
class Counter expands Triggers;

defaultproperties
{
	NumToCount=2
	bShowMessage=False
	CountMessage="Only %i more to go..."
	CompleteMessage="Completed!"
}
