//=============================================================================
// NaliFruit: The healing fruit of the Nali.
//=============================================================================
class NaliFruit expands Health;

#exec MESH IMPORT MESH=NaliFruitM ANIVFILE=MODELS\NaliFruitM_a.3d DATAFILE=MODELS\NaliFruitM_d.3d
#exec MESH ORIGIN MESH=NaliFruitM X=0 Y=0 Z=0 YAW=0
#exec MESH SEQUENCE MESH=NaliFruitM SEQ=Still STARTFRAME=0 NUMFRAMES=1 RATE=1
#exec MESHMAP SCALE MESHMAP=NaliFruitM X=0.05 Y=0.05 Z=0.1
#exec MESHMAP SETTEXTURE MESHMAP=NaliFruitM NUM=0 TEXTURE=UnrealShare.Skins.JNaliFruit1

defaultproperties
{
	Mesh=LodMesh'UnrealShare.NaliFruitM'
	PickupMessage="You ate the Nali healing fruit +"
	HealingAmount=29
	CollisionRadius=16.000000
	CollisionHeight=14.000000
}
