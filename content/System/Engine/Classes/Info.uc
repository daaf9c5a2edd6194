//=============================================================================
// Info: Invisible holders of level information.
//=============================================================================
class Info expands Actor;

defaultproperties
{
	bHidden=True
	bCollideActors=False
}
