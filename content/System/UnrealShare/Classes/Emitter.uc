//=============================================================================
// Emitter: A burst of particles.
//=============================================================================
class Emitter expands Effects;

defaultproperties
{
	Texture=Texture'UnrealShare.Effect1.FireEffect1u'
	Style=STY_Translucent
}
