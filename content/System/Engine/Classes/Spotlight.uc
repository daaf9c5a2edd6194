//=============================================================================
// Spotlight: A light that shines in one direction.
//=============================================================================
class Spotlight expands Light;

defaultproperties
{
	LightEffect=LE_Spotlight
	LightCone=128
}
