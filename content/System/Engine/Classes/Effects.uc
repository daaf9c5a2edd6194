//=============================================================================
// Effects: Visual effects: sprites, particles, debris.
//=============================================================================
class Effects expands Actor;

defaultproperties
{
	bCollideActors=False
	bUnlit=True
}
