//=============================================================================
// NavigationPoint: Points monsters and scripts find their way by.
//=============================================================================
class NavigationPoint expands Actor;

defaultproperties
{
	bHidden=True
	bCollideActors=False
}
