//=============================================================================
// AnimSpriteEffect: A sprite animation that plays once and vanishes.
//=============================================================================
class AnimSpriteEffect expands Effects;

defaultproperties
{
	Style=STY_Translucent
}
