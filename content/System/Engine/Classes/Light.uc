//=============================================================================
// Light: A static light source; lights the lightmaps and the meshes near it.
//=============================================================================
class Light expands Actor;

defaultproperties
{
	bHidden=True
	bStatic=True
	bCollideActors=False
	LightType=LT_Steady
	LightBrightness=64
	LightSaturation=255
	LightRadius=64
}
