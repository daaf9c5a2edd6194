//=============================================================================
// Triggers: Actors that fire events.
//=============================================================================
class Triggers expands Actor;

defaultproperties
{
	bHidden=True
	bCollideActors=False
}
