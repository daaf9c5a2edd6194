//=============================================================================
// Health: A first aid box.
//=============================================================================
class Health expands Pickup;

#exec MESH IMPORT MESH=MedBox ANIVFILE=MODELS\MedBox_a.3d DATAFILE=MODELS\MedBox_d.3d
#exec MESH ORIGIN MESH=MedBox X=0 Y=0 Z=0 YAW=0
#exec MESH SEQUENCE MESH=MedBox SEQ=Still STARTFRAME=0 NUMFRAMES=1 RATE=1
#exec MESHMAP SCALE MESHMAP=MedBox X=0.05 Y=0.05 Z=0.1
#exec MESHMAP SETTEXTURE MESHMAP=MedBox NUM=0 TEXTURE=UnrealShare.Skins.JMedBox1

defaultproperties
{
	Mesh=LodMesh'UnrealShare.MedBox'
	PickupMessage="You picked up a Health Pack +"
	HealingAmount=20
	CollisionRadius=22.000000
	CollisionHeight=8.000000
}
