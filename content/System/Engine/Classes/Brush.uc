//=============================================================================
// Brush: Editor geometry; only movers keep their brush at run time.
//=============================================================================
class Brush expands Actor;

defaultproperties
{
	bCollideActors=False
	bHidden=True
}
