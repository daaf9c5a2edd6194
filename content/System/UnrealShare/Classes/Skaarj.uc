//=============================================================================
// Skaarj: A fast and agile warrior with wrist blades.
//=============================================================================
class Skaarj expands ScriptedPawn;

#exec MESH IMPORT MESH=SkaarjW ANIVFILE=MODELS\SkaarjW_a.3d DATAFILE=MODELS\SkaarjW_d.3d
#exec MESH ORIGIN MESH=SkaarjW X=0 Y=0 Z=0 YAW=0
#exec MESH SEQUENCE MESH=SkaarjW SEQ=Still STARTFRAME=0 NUMFRAMES=1 RATE=1
#exec MESH SEQUENCE MESH=SkaarjW SEQ=Breath STARTFRAME=1 NUMFRAMES=16 RATE=8
#exec MESH SEQUENCE MESH=SkaarjW SEQ=Breath2 STARTFRAME=17 NUMFRAMES=16 RATE=8
#exec MESH SEQUENCE MESH=SkaarjW SEQ=Jog STARTFRAME=33 NUMFRAMES=10 RATE=14
#exec MESH SEQUENCE MESH=SkaarjW SEQ=JogFire STARTFRAME=43 NUMFRAMES=10 RATE=14
#exec MESH SEQUENCE MESH=SkaarjW SEQ=Firing STARTFRAME=53 NUMFRAMES=12 RATE=12
#exec MESH SEQUENCE MESH=SkaarjW SEQ=claw STARTFRAME=65 NUMFRAMES=12 RATE=16
#exec MESH SEQUENCE MESH=SkaarjW SEQ=spin STARTFRAME=77 NUMFRAMES=14 RATE=16
#exec MESH SEQUENCE MESH=SkaarjW SEQ=lunge STARTFRAME=91 NUMFRAMES=12 RATE=14
#exec MESH SEQUENCE MESH=SkaarjW SEQ=Death STARTFRAME=103 NUMFRAMES=16 RATE=15
#exec MESH SEQUENCE MESH=SkaarjW SEQ=Death2 STARTFRAME=119 NUMFRAMES=16 RATE=15
#exec MESH SEQUENCE MESH=SkaarjW SEQ=Death3 STARTFRAME=135 NUMFRAMES=16 RATE=15
#exec MESH SEQUENCE MESH=SkaarjW SEQ=Death4 STARTFRAME=151 NUMFRAMES=16 RATE=15
#exec MESH NOTIFY MESH=SkaarjW SEQ=JogFire TIME=0.5 FUNCTION=SpawnTwoShots
#exec MESH NOTIFY MESH=SkaarjW SEQ=Firing TIME=0.45 FUNCTION=SpawnTwoShots
#exec MESH NOTIFY MESH=SkaarjW SEQ=claw TIME=0.5 FUNCTION=StrikeDamageTarget
#exec MESH NOTIFY MESH=SkaarjW SEQ=spin TIME=0.5 FUNCTION=SpinDamageTarget
#exec MESH NOTIFY MESH=SkaarjW SEQ=lunge TIME=0.6 FUNCTION=HitDamageTarget
#exec MESHMAP SCALE MESHMAP=SkaarjW X=0.1 Y=0.1 Z=0.2
#exec MESHMAP SETTEXTURE MESHMAP=SkaarjW NUM=0 TEXTURE=UnrealShare.Skins.JSkaarjW1

defaultproperties
{
	Health=160
	GroundSpeed=380
	CollisionRadius=30.000000
	CollisionHeight=42.000000
	Mesh=LodMesh'UnrealShare.SkaarjW'
	RangedProjectile=Class'UnrealShare.SkaarjProjectile'
	Acquire=Sound'UnrealShare.Skaarj.SkaarjAcquire'
	HitSound1=Sound'UnrealShare.Skaarj.SkaarjHit'
	Die=Sound'UnrealShare.Skaarj.SkaarjDie'
}
