//=============================================================================
// SuperHealth: A big health box that heals beyond the normal limit.
//=============================================================================
class SuperHealth expands Health;

defaultproperties
{
	Skin=Texture'UnrealShare.Skins.JMedBox2'
	PickupMessage="You picked up the Super Health Pack +"
	HealingAmount=100
	bSuperHeal=True
	DrawScale=1.300000
}
